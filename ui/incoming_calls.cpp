#include "ui/incoming_calls.h"

#include <optional>
#include <string>
#include <utility>

namespace kw::ui {

void IncomingCalls::rang(std::string_view caller, std::string_view called) {
    std::optional<std::string> name;
    // Withheld and empty callers are never looked up.
    if (names_ && !caller.empty()) {
        name = names_(caller);
    }
    screen_.phoneRang(caller, called, name.value_or(""));
    notifications_.rang(++calls_, caller, name.value_or(""), called);
}

void IncomingCalls::setNames(NameLookup names) {
    names_ = std::move(names);
    if (!names_ || call_.AnrufNummer.empty() || !call_.AnrufName.empty()) {
        return;
    }
    if (std::optional<std::string> name = names_(call_.AnrufNummer)) {
        const CallInfo shown = call_;
        screen_.phoneRang(shown.AnrufNummer, shown.MSN, *name);
    }
}

}  // namespace kw::ui
