#pragma once

#include <optional>
#include <string_view>

namespace kw {

// How a call ended for the user. Merging reports of one call: answered wins over missed, and
// anything known over unknown.
enum class CallOutcome : unsigned char { Unknown, Answered, Missed };

// Who reported a call.
enum class CallSourceKind : unsigned char { RouterMonitor, Sip, RingTool, PhoneControl };

inline constexpr CallOutcome Merged(CallOutcome a, CallOutcome b) {
    const auto rank = [](CallOutcome o) {
        return o == CallOutcome::Answered ? 2 : o == CallOutcome::Missed ? 1 : 0;
    };
    return rank(a) >= rank(b) ? a : b;
}

// Stable words for files ("unknown", "answered", "missed"; "router", "sip", "ring", "control")
// and back; nothing for a word that is none of them.
std::string_view OutcomeWord(CallOutcome outcome);
std::optional<CallOutcome> OutcomeFromWord(std::string_view word);
std::string_view SourceWord(CallSourceKind source);
std::optional<CallSourceKind> SourceFromWord(std::string_view word);

// What the call list shows: "angenommen", "verpasst" or nothing; the source's name as in the call
// sources dialog.
std::string_view OutcomeText(CallOutcome outcome);
std::string_view SourceText(CallSourceKind source);

}  // namespace kw
