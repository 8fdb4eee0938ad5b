#include "core/caller_line_display.h"

#include <algorithm>
#include <cstddef>

#include "core/utf8.h"

namespace kw {

namespace {

constexpr char32_t kReplacement = kReplacementCharacter;
constexpr char32_t kEllipsis = 0x2026;
constexpr char32_t kFirstStrongIsolate = 0x2068;
constexpr char32_t kPopDirectionalIsolate = 0x2069;

// A phone number has no use for direction controls: even a balanced override inside it would
// reverse its digits, so every one of them is shown as a substitute rather than obeyed.
bool IsDirectionOrLineControl(char32_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || c == 0x2028 || c == 0x2029 ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// C0 and DEL keep a hint of what they were in their control pictures; C1 has no pictures.
char32_t Visible(char32_t c) {
    if (c < 0x20) {
        return 0x2400 + c;
    }
    if (c == 0x7F) {
        return 0x2421;
    }
    if ((c >= 0x80 && c <= 0x9F) || IsDirectionOrLineControl(c)) {
        return kReplacement;
    }
    return c;
}

std::u32string SafeNumber(std::string_view number) {
    std::u32string safe = DecodeUtf8(number);
    std::ranges::transform(safe, safe.begin(), Visible);
    return safe;
}

// Hebrew, Arabic and the other right-to-left scripts, their digits and presentation forms: a
// generous superset, since isolating too often costs little.
bool IsRightToLeft(char32_t c) {
    return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
           (c >= 0xFE70 && c <= 0xFEFF) || (c >= 0x10800 && c <= 0x10FFF) ||
           (c >= 0x1E800 && c <= 0x1EFFF);
}

// Only a number with right-to-left characters can reorder its neighbours, once the direction
// controls are gone. Others stay bare: the Windows label's font draws the isolates as boxes.
void AppendNumber(std::string& out, const std::u32string& number) {
    const bool isolated = std::ranges::any_of(number, IsRightToLeft);
    if (isolated) {
        AppendUtf8(out, kFirstStrongIsolate);
    }
    for (const char32_t c : number) {
        AppendUtf8(out, c);
    }
    if (isolated) {
        AppendUtf8(out, kPopDirectionalIsolate);
    }
}

// A name of its own; no name leaves the line as it was without names.
struct ShownName {
    bool present = false;
    std::u32string text;
};

std::string Line(const ShownName& name, const std::u32string& caller,
                 const std::u32string& called) {
    std::string line = "Anruf von ";
    if (name.present) {
        AppendNumber(line, name.text);
        line += " (";
        AppendNumber(line, caller);
        line += ')';
    } else {
        AppendNumber(line, caller);
    }
    line += " auf Leitung: ";
    AppendNumber(line, called);
    return line;
}

// Keeps `keep` characters, the odd one at the start.
std::u32string Shortened(const std::u32string& number, std::size_t keep) {
    if (keep >= number.size()) {
        return number;
    }
    std::u32string shortened = number.substr(0, (keep + 1) / 2);
    shortened += kEllipsis;
    shortened += number.substr(number.size() - keep / 2);
    return shortened;
}

// The largest keep up to `limit` that fits, or 0.
template <typename Fits>
std::size_t LargestFitting(std::size_t limit, const Fits& fits) {
    std::size_t low = 0;
    std::size_t high = limit;
    while (low < high) {
        const std::size_t middle = low + (high - low + 1) / 2;
        if (fits(middle)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

}  // namespace

CallerLineDisplay FitCallerLine(std::string_view callerNumber, std::string_view calledNumber,
                                int width, const TextWidth& measure, std::string_view callerName) {
    const std::u32string caller = SafeNumber(callerNumber);
    const std::u32string called = SafeNumber(calledNumber);
    ShownName name{.present = !callerName.empty(), .text = SafeNumber(callerName)};
    CallerLineDisplay display{.shown = {}, .whole = Line(name, caller, called)};
    const auto line = [&name](const std::u32string& shownCaller,
                              const std::u32string& shownCalled) {
        return Line(name, shownCaller, shownCalled);
    };
    const auto fits = [&](const std::u32string& shownCaller, const std::u32string& shownCalled) {
        return measure(line(shownCaller, shownCalled)) <= width;
    };
    const std::u32string wholeName = name.text;
    const auto nameFits = [&](std::size_t keep) {
        name.text = Shortened(wholeName, keep);
        return fits(caller, called);
    };
    if (measure(display.whole) <= width) {
        display.shown = display.whole;
        return display;
    }
    if (name.present && nameFits(0)) {
        nameFits(LargestFitting(wholeName.size() - 1, nameFits));
        display.shown = line(caller, called);
        return display;
    }
    name.text = name.present ? Shortened(wholeName, 0) : wholeName;
    if (!caller.empty() && fits(Shortened(caller, 0), called)) {
        const std::size_t keep = LargestFitting(
            caller.size() - 1, [&](std::size_t k) { return fits(Shortened(caller, k), called); });
        display.shown = line(Shortened(caller, keep), called);
    } else {
        // Both give way alike, so a short number stays whole.
        const std::size_t longest = std::max<std::size_t>({caller.size(), called.size(), 1});
        const std::size_t keep = LargestFitting(longest - 1, [&](std::size_t k) {
            return fits(Shortened(caller, k), Shortened(called, k));
        });
        display.shown = line(Shortened(caller, keep), Shortened(called, keep));
    }
    return display;
}

std::string InertText(std::string_view text, std::size_t maxChars) {
    std::u32string safe = SafeNumber(text);
    if (safe.size() > maxChars) {
        // The ellipsis counts as one of the characters.
        safe = Shortened(safe, maxChars == 0 ? 0 : maxChars - 1);
    }
    std::string out;
    AppendNumber(out, safe);
    return out;
}

}  // namespace kw
