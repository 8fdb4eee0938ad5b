#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kw {

// The width of a UTF-8 text in the caller line's font, in the unit of the available width.
using TextWidth = std::function<int(std::string_view)>;

// The caller line as a one-line label shows it. Each number is made visible and inert: control
// characters become their pictures (U+2400..U+2421) or U+FFFD, line separators, direction
// controls and invalid UTF-8 become U+FFFD, and a number with right-to-left text sits in its own
// isolate, so that it cannot reorder the words around it.
struct CallerLineDisplay {
    std::string shown;  // fits the width, unless even "…" for both numbers does not
    std::string whole;  // every character of both numbers, made safe the same way

    bool shortened() const { return shown != whole; }
};

// Shortens the caller number in its middle with "…" until the line fits, and the called number
// as well when it alone leaves no room; the start and the end of a number both tell who calls.
// A caller's name, when there is one, stands before the number in brackets, is made safe like
// a number, and gives way first.
CallerLineDisplay FitCallerLine(std::string_view callerNumber, std::string_view calledNumber,
                                int width, const TextWidth& measure,
                                std::string_view callerName = {});

// One text (a number or a name) made safe by the same rules, shortened in its middle to at most
// `maxChars` characters, for places that show it without the caller line's measuring.
std::string InertText(std::string_view text, std::size_t maxChars);

}  // namespace kw
