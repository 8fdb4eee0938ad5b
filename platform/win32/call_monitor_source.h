#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "core/call_monitor_timing.h"
#include "platform/call_source.h"

struct addrinfoW;

namespace kw::win32 {

// The incoming calls a router announces on its call monitor port. A worker thread of its own
// resolves, connects and reads with Winsock; calls and statuses reach the UI thread through a
// message-only window, at most kMaxQueued at a time (the oldest go first). Keeps trying to reach
// the router for as long as it lives, and goes at once, even while a name lookup hangs.
class CallMonitorSource final : public platform::CallSource {
  public:
    static constexpr std::size_t kMaxQueued = 256;

    // A blocking name lookup shaped like GetAddrInfoW, the default. It runs on a thread of its
    // own, which the source leaves behind when it goes; the lookup must not use the source.
    using HostLookup = std::function<int(const wchar_t* host, const wchar_t* port,
                                         const addrinfoW* hints, addrinfoW** found)>;

    explicit CallMonitorSource(std::string host = "fritz.box", std::uint16_t port = 1012,
                               CallMonitorTiming timing = {}, HostLookup lookup = {});
    ~CallMonitorSource() override;

    CallMonitorSource(const CallMonitorSource&) = delete;
    CallMonitorSource& operator=(const CallMonitorSource&) = delete;

    void start(CallHandler onCall, StatusHandler onStatus) override;
    void reportTo(ReportHandler onReport) override { onReport_ = std::move(onReport); }

  private:
    class Channel;
    class Worker;

    std::string host_;
    std::uint16_t port_;
    CallMonitorTiming timing_;
    HostLookup lookup_;
    ReportHandler onReport_;
    std::unique_ptr<Channel> channel_;
    // After the channel, so that the thread has ended before the channel goes.
    std::unique_ptr<Worker> worker_;
};

}  // namespace kw::win32
