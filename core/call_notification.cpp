#include "core/call_notification.h"

#include <cstddef>

#include "core/caller_line_display.h"

namespace kw {

namespace {

// Notification bubbles wrap at about forty characters and cut after a few lines; a forged
// caller of any length must still leave the line and the start of the summary readable.
constexpr std::size_t kMaxNumber = 40;
constexpr std::size_t kMaxName = 60;

CallNotification Compose(std::string_view from, std::string_view without, std::string_view caller,
                         std::string_view name, std::string_view called) {
    CallNotification n;
    if (caller.empty()) {
        n.summary = without;
    } else {
        n.summary = from;
        if (name.empty()) {
            n.summary += InertText(caller, kMaxNumber);
        } else {
            n.summary += InertText(name, kMaxName) + " (" + InertText(caller, kMaxNumber) + ")";
        }
    }
    n.body = "auf Leitung: " + InertText(called, kMaxNumber);
    return n;
}

}  // namespace

CallNotification RingingNotification(std::string_view caller, std::string_view name,
                                     std::string_view called) {
    return Compose("Anruf von ", "Anruf ohne Rufnummer", caller, name, called);
}

CallNotification MissedNotification(std::string_view caller, std::string_view name,
                                    std::string_view called) {
    return Compose("Verpasster Anruf von ", "Verpasster Anruf ohne Rufnummer", caller, name,
                   called);
}

}  // namespace kw
