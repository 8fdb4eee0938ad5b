#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "core/call_monitor_line.h"
#include "core/call_monitor_status.h"
#include "core/call_monitor_timing.h"
#include "core/retry_schedule.h"
#include "platform/call_source.h"

class QTcpSocket;
class QTimer;

namespace kw::qt {

// The incoming calls a router announces on its call monitor port, taken in Qt's event loop. Keeps
// trying to reach the router for as long as it lives.
class CallMonitorSource final : public platform::CallSource {
  public:
    explicit CallMonitorSource(std::string host = "fritz.box", std::uint16_t port = 1012,
                               CallMonitorTiming timing = {});
    ~CallMonitorSource() override;

    CallMonitorSource(const CallMonitorSource&) = delete;
    CallMonitorSource& operator=(const CallMonitorSource&) = delete;

    void start(CallHandler onCall, StatusHandler onStatus) override;
    void reportTo(ReportHandler onReport) override { onReport_ = std::move(onReport); }

  private:
    enum class State { Idle, Connecting, Connected, Waiting };

    void connectNow();
    void connected();
    void fail(MonitorFault fault);
    void timerFired();
    void readLines();

    std::string host_;
    std::uint16_t port_;
    CallMonitorTiming timing_;
    RetrySchedule schedule_;
    CallMonitorLines lines_;
    State state_ = State::Idle;
    std::uint64_t connection_ = 0;
    bool reading_ = false;
    CallHandler onCall_;
    ReportHandler onReport_;
    StatusHandler onStatus_;
    std::unique_ptr<QTimer> timer_;
    std::unique_ptr<QTcpSocket> socket_;
};

}  // namespace kw::qt
