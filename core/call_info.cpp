#include "core/call_info.h"

namespace kw {

std::string CallerLine(std::string_view callerNumber, std::string_view calledNumber,
                       std::string_view callerName) {
    std::string line = "Anruf von ";
    if (!callerName.empty()) {
        line += callerName;
        line += " (";
        line += callerNumber;
        line += ')';
    } else {
        line += callerNumber;
    }
    line += " auf Leitung: ";
    line += calledNumber;
    return line;
}

void IncomingCall(CallInfo& call, CallView& view, std::string_view callerNumber,
                  std::string_view calledNumber, std::string_view callerName) {
    call.AnrufNummer = std::string(callerNumber);
    call.MSN = std::string(calledNumber);
    call.AnrufName = std::string(callerName);
    view.setCallerLine(CallerLine(call.AnrufNummer, call.MSN, call.AnrufName));
    view.setActionEnabled(true);
}

void ClearCall(CallInfo& call, CallView& view) {
    view.setCallerLine({});
    call.AnrufNummer.clear();
    call.MSN.clear();
    call.AnrufName.clear();
    view.setActionEnabled(false);
}

}  // namespace kw
