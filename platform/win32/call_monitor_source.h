#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/call_monitor_timing.h"
#include "platform/call_source.h"

namespace kw::win32 {

// The incoming calls a router announces on its call monitor port. A worker thread of its own
// resolves, connects and reads with Winsock; calls and statuses reach the UI thread through a
// message-only window. Keeps trying to reach the router for as long as it lives.
class CallMonitorSource final : public platform::CallSource {
  public:
    explicit CallMonitorSource(std::string host = "fritz.box", std::uint16_t port = 1012,
                               CallMonitorTiming timing = {});
    ~CallMonitorSource() override;

    CallMonitorSource(const CallMonitorSource&) = delete;
    CallMonitorSource& operator=(const CallMonitorSource&) = delete;

    void start(CallHandler onCall, StatusHandler onStatus) override;

  private:
    class Channel;
    class Worker;

    std::string host_;
    std::uint16_t port_;
    CallMonitorTiming timing_;
    std::unique_ptr<Channel> channel_;
    // After the channel, so that the thread has ended before the channel goes.
    std::unique_ptr<Worker> worker_;
};

}  // namespace kw::win32
