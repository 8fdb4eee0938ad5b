#include "core/caller_line_display.h"

#include <gtest/gtest.h>

#include <string>

namespace kw {
namespace {

using namespace std::string_literals;

// One unit per character, isolates included.
int CodePoints(std::string_view text) {
    int count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

std::string Isolated(const std::string& number) {
    return "\u2068" + number + "\u2069";
}

std::string Line(const std::string& caller, const std::string& called) {
    return "Anruf von " + caller + " auf Leitung: " + called;
}

std::string Digits(std::size_t count) {
    std::string digits;
    while (digits.size() < count) {
        digits += static_cast<char>('0' + digits.size() % 10);
    }
    return digits;
}

constexpr int kWide = 100'000;  // 24 units are the line without the numbers

TEST(FitCallerLine, ShowsEveryNumberVisiblyAndInOrder) {
    const struct {
        const char* what;
        std::string caller, called, shownCaller, shownCalled;
    } cases[] = {
        {"C0 controls", "123\n456\tx", "1\r\0"s, "123\u240a456\u2409x", "1\u240d\u2400"},
        {"DEL and C1", "1\x7f", "\xc2\x85\xc2\x9b", "1\u2421", "\ufffd\ufffd"},
        {"override", "\u202e4321", "\u202d1\u202c", "\ufffd4321", "\ufffd1\ufffd"},
        {"unbalanced isolates", "\u2066\u2067\u2068", "\u2069", "\ufffd\ufffd\ufffd", "\ufffd"},
        {"marks and separators", "\u200f1\u061c", "\u2028\u2029", "\ufffd1\ufffd", "\ufffd\ufffd"},
        {"lone and cut bytes", "\xff\x80", "x\xe2\x82", "\ufffd\ufffd", "x\ufffd"},
        {"overlong and surrogate", "\xc0\xaf", "\xed\xa0\x80", "\ufffd\ufffd",
         "\ufffd\ufffd\ufffd"},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", "\xf0\x9f\x93\x9e", "\ufffd\ufffd\ufffd\ufffd",
         "\xf0\x9f\x93\x9e"},
        {"text stays", "&Müller <b>", "Zürich", "&Müller <b>", "Zürich"},
        {"right to left", "שלום 1", "١٢ ٣", Isolated("שלום 1"), Isolated("١٢ ٣")},
        {"empty", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CallerLineDisplay display = FitCallerLine(c.caller, c.called, kWide, CodePoints);
        EXPECT_EQ(display.shown, Line(c.shownCaller, c.shownCalled));
        EXPECT_FALSE(display.shortened());
    }
}

TEST(FitCallerLine, ShortensInTheMiddleSoBothLiteralsStay) {
    const struct {
        const char* what;
        std::string caller, called;
        int width;
        std::string shownCaller, shownCalled;
    } cases[] = {
        {"fits exactly", Digits(10), "42", 36, Digits(10), "42"},
        {"one too many", Digits(11), "42", 36, "01234\u20267890", "42"},
        {"300 digits", Digits(300), "42", 36, "01234\u20266789", "42"},
        {"long called", "0301", Digits(300), 36, "0301", "0123\u2026789"},
        {"both long", Digits(300), Digits(300), 36, "012\u202689", "012\u202689"},
        {"empty caller", "", Digits(300), 36, "", "012345\u202656789"},
        {"no room at all", Digits(300), "42", 5, "\u2026", "\u2026"},
        {"right to left cut off", "\u05d0" + Digits(300), "42", 36,
         "\u2068\u05d0012\u2026789\u2069", "42"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CallerLineDisplay display = FitCallerLine(c.caller, c.called, c.width, CodePoints);
        EXPECT_EQ(display.shown, Line(c.shownCaller, c.shownCalled));
        EXPECT_EQ(display.whole, FitCallerLine(c.caller, c.called, kWide, CodePoints).shown);
    }
}

TEST(FitCallerLine, NameIsMadeSafeAndGivesWayFirst) {
    const struct {
        const char* what;
        std::string name, caller;
        int width;
        std::string shown;
    } cases[] = {
        {"fits", "Annabella", "0301234", kWide, "Anruf von Annabella (0301234) auf Leitung: 42"},
        {"controls and markup", "\u202e<b>\x07", "1", kWide,
         "Anruf von \ufffd<b>\u2407 (1) auf Leitung: 42"},
        {"right to left", "שלום", "1", kWide,
         "Anruf von " + Isolated("שלום") + " (1) auf Leitung: 42"},
        {"name shortened", "Annabella", "0301234", 40,
         "Anruf von An\u2026a (0301234) auf Leitung: 42"},
        {"name gone", "Annabella", "0301234", 37, "Anruf von \u2026 (0301234) auf Leitung: 42"},
        {"then the number", "Annabella", "0301234", 33,
         "Anruf von \u2026 (0\u20264) auf Leitung: 42"},
        {"no name", "", "0301234", 30, Line("03\u20264", "42")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FitCallerLine(c.caller, "42", c.width, CodePoints, c.name).shown, c.shown);
    }
}

TEST(FitCallerLine, MeasuresAHugeNumberOnlyAFewTimes) {
    int measured = 0;
    const CallerLineDisplay display =
        FitCallerLine(Digits(1'000'000), "42", 36, [&](std::string_view text) {
            ++measured;
            return CodePoints(text);
        });
    EXPECT_EQ(display.shown, Line("01234\u20266789", "42"));
    EXPECT_LE(measured, 25);
}

}  // namespace
}  // namespace kw
