#include "core/call_reports.h"

#include "core/call_monitor_line.h"
#include "core/sip_reason.h"

namespace kw {

void ReportMonitorLine(CallTracker& tracker, std::string_view line, CallTime now) {
    const auto event = DecodeMonitorEvent(line);
    if (!event) {
        return;
    }
    constexpr auto kRouter = CallSourceKind::RouterMonitor;
    switch (event->kind) {
        case MonitorEvent::Kind::Ring:
            tracker.ringing(kRouter, event->connection, event->number, event->called, now);
            break;
        case MonitorEvent::Kind::Call:
            tracker.forget(kRouter, event->connection, now);
            break;
        case MonitorEvent::Kind::Connect:
            tracker.answered(kRouter, event->connection, now);
            break;
        case MonitorEvent::Kind::Disconnect:
            tracker.ended(kRouter, event->connection, now);
            break;
    }
}

void ReportSipCancel(CallTracker& tracker, std::string_view callId, std::string_view reason,
                     CallTime now) {
    if (AnsweredElsewhere(reason)) {
        tracker.answered(CallSourceKind::Sip, callId, now);
    }
    tracker.ended(CallSourceKind::Sip, callId, now);
}

}  // namespace kw
