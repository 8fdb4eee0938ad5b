#pragma once

#include <memory>
#include <string>

#include "core/failure.h"
#include "platform/call_source.h"

class QSocketNotifier;

namespace kw::posix {
class PhoneListener;
}

namespace kw::qt {

// The calls klingelwart-ring reports over the private socket, taken in Qt's event loop.
class RingSocketSource final : public platform::CallSource {
  public:
    // `directory` is the private runtime directory whose lock this process holds, or why there
    // is none; the socket opens only at start().
    explicit RingSocketSource(Result<std::string> directory);
    ~RingSocketSource() override;

    RingSocketSource(const RingSocketSource&) = delete;
    RingSocketSource& operator=(const RingSocketSource&) = delete;

    void start(CallHandler onCall, StatusHandler onStatus) override;

  private:
    void takeCalls();

    Result<std::string> directory_;
    CallHandler onCall_;
    std::unique_ptr<posix::PhoneListener> listener_;
    // After the listener, so that it goes first: it watches the listener's descriptor.
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace kw::qt
