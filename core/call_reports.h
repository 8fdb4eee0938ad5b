#pragma once

#include <string_view>

#include "core/call_tracker.h"

namespace kw {

// One line of the router's call monitor, reported to the tracker (other lines are ignored).
void ReportMonitorLine(CallTracker& tracker, std::string_view line, CallTime now);

// A CANCEL for a ringing SIP call, with its Reason header's value (empty when it had none).
void ReportSipCancel(CallTracker& tracker, std::string_view callId, std::string_view reason,
                     CallTime now);

}  // namespace kw
