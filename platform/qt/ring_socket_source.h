#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "core/failure.h"
#include "platform/call_source.h"

class QSocketNotifier;
class QTimer;

namespace kw::posix {
class PhoneListener;
}

namespace kw::qt {

// The calls klingelwart-ring reports over the private socket, taken in Qt's event loop.
//
// A socket lost while running (its file or the whole directory removed: a cleaner of /tmp, the
// end of the user's last session) is noticed at once and reported; the socket is made again at
// once where the directory is still there, otherwise as soon as the directory can be made again,
// looking every `recheck`.
class RingSocketSource final : public platform::CallSource {
  public:
    static constexpr std::chrono::milliseconds kRecheck = std::chrono::seconds(2);

    // `directory` is the private runtime directory whose lock this process holds, or why there
    // is none; the socket opens only at start(). `reclaimLock` makes sure the directory's lock is
    // this process's again before the socket is made anew after a loss (empty: no lock is kept).
    explicit RingSocketSource(Result<std::string> directory,
                              std::function<MaybeFailure()> reclaimLock = {},
                              std::chrono::milliseconds recheck = kRecheck);
    ~RingSocketSource() override;

    RingSocketSource(const RingSocketSource&) = delete;
    RingSocketSource& operator=(const RingSocketSource&) = delete;

    void start(CallHandler onCall, StatusHandler onStatus) override;

  private:
    void listen(std::unique_ptr<posix::PhoneListener> listener);
    void takeCalls();
    void check();
    void lose();
    void reopen(const std::string& lostPath);
    void report(platform::CallSourceStatus status);

    Result<std::string> directory_;
    std::function<MaybeFailure()> reclaimLock_;
    std::chrono::milliseconds recheck_;
    CallHandler onCall_;
    StatusHandler onStatus_;
    platform::CallSourceStatus reported_;
    std::unique_ptr<QTimer> timer_;
    std::unique_ptr<posix::PhoneListener> listener_;
    // After the listener, so that it goes first: it watches the listener's descriptor.
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace kw::qt
