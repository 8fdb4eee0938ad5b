#include "core/call_info.h"

namespace kw {

std::string CallerLine(std::string_view callerNumber, std::string_view calledNumber) {
    std::string line = "Anruf von ";
    line += callerNumber;
    line += " auf Leitung: ";
    line += calledNumber;
    return line;
}

void IncomingCall(CallInfo& call, CallView& view, std::string_view callerNumber,
                  std::string_view calledNumber) {
    call.AnrufNummer = std::string(callerNumber);
    call.MSN = std::string(calledNumber);
    view.setCallerLine(CallerLine(call.AnrufNummer, call.MSN));
    view.setActionEnabled(true);
}

void ClearCall(CallInfo& call, CallView& view) {
    view.setCallerLine({});
    call.AnrufNummer.clear();
    call.MSN.clear();
    view.setActionEnabled(false);
}

}  // namespace kw
