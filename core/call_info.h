#pragma once

#include <string>
#include <string_view>

namespace kw {

// The numbers of the last signalled call, empty until the first call and after ClearCall.
struct CallInfo {
    std::string AnrufNummer;  // caller number
    std::string MSN;          // called number

    friend bool operator==(const CallInfo&, const CallInfo&) = default;
};

// What the call handling needs of the main window.
class CallView {
  public:
    virtual ~CallView() = default;
    virtual void setCallerLine(std::string_view text) = 0;
    virtual void setActionEnabled(bool enabled) = 0;
};

// "Anruf von " + caller + " auf Leitung: " + called.
std::string CallerLine(std::string_view callerNumber, std::string_view calledNumber);

// Stores copies of the two numbers, shows the caller line and arms the action button. Does
// nothing else: the window is not raised and the action does not run.
void IncomingCall(CallInfo& call, CallView& view, std::string_view callerNumber,
                  std::string_view calledNumber);

// Empties the caller line and the call record and disarms the action button.
void ClearCall(CallInfo& call, CallView& view);

}  // namespace kw
