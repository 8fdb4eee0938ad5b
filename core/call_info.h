#pragma once

#include <string>
#include <string_view>

namespace kw {

// The numbers of the last signalled call, empty until the first call and after ClearCall.
struct CallInfo {
    std::string AnrufNummer;  // caller number
    std::string MSN;          // called number
    std::string AnrufName;    // caller's name from the address books, empty when none

    friend bool operator==(const CallInfo&, const CallInfo&) = default;
};

// What the call handling needs of the main window.
class CallView {
  public:
    virtual ~CallView() = default;
    virtual void setCallerLine(std::string_view text) = 0;
    virtual void setActionEnabled(bool enabled) = 0;
};

// "Anruf von " + caller + " auf Leitung: " + called; with a name,
// "Anruf von " + name + " (" + caller + ") auf Leitung: " + called.
std::string CallerLine(std::string_view callerNumber, std::string_view calledNumber,
                       std::string_view callerName = {});

// Stores copies of the two numbers and the caller's name (empty when unknown), shows the caller
// line and arms the action button. Does nothing else: the window is not raised and the action does
// not run.
void IncomingCall(CallInfo& call, CallView& view, std::string_view callerNumber,
                  std::string_view calledNumber, std::string_view callerName = {});

// Empties the caller line and the call record and disarms the action button.
void ClearCall(CallInfo& call, CallView& view);

}  // namespace kw
