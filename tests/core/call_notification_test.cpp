#include "core/call_notification.h"

#include <gtest/gtest.h>

#include <string>

namespace kw {
namespace {

TEST(CallNotification, SaysWhoCallsOnWhichLine) {
    const struct {
        const char* caller;
        const char* name;
        const char* called;
        CallNotification ringing;
        const char* missedSummary;
    } cases[] = {
        {"030 1234567",
         "",
         "67890",
         {"Anruf von 030 1234567", "auf Leitung: 67890"},
         "Verpasster Anruf von 030 1234567"},
        {"+49301234567",
         "Erika Muster",
         "1",
         {"Anruf von Erika Muster (+49301234567)", "auf Leitung: 1"},
         "Verpasster Anruf von Erika Muster (+49301234567)"},
        {"",
         "",
         "67890",
         {"Anruf ohne Rufnummer", "auf Leitung: 67890"},
         "Verpasster Anruf ohne Rufnummer"},
        // Markup stays text here; escaping is for the backend whose server renders it.
        {"<b>1</b>&amp;",
         "<i>X</i>",
         "",
         {"Anruf von <i>X</i> (<b>1</b>&amp;)", "auf Leitung: "},
         "Verpasster Anruf von <i>X</i> (<b>1</b>&amp;)"},
        // Line breaks would start a second summary line; direction controls would reorder it.
        {"1\n2",
         "A\u202Eb",
         "3\t",
         {"Anruf von A\uFFFDb (1\u240A2)", "auf Leitung: 3\u2409"},
         "Verpasster Anruf von A\uFFFDb (1\u240A2)"},
        {"\xFF", "", "", {"Anruf von \uFFFD", "auf Leitung: "}, "Verpasster Anruf von \uFFFD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caller);
        EXPECT_EQ(RingingNotification(c.caller, c.name, c.called), c.ringing);
        const CallNotification missed = MissedNotification(c.caller, c.name, c.called);
        EXPECT_EQ(missed.summary, c.missedSummary);
        EXPECT_EQ(missed.body, c.ringing.body);
    }
}

TEST(CallNotification, ForgedLengthsAreShortenedInTheirMiddle) {
    const std::string huge(100'000, '7');
    const CallNotification n = RingingNotification(huge + "1", std::string(100'000, 'N'), huge);
    EXPECT_LT(n.summary.size(), 400u);
    EXPECT_LT(n.body.size(), 200u);
    EXPECT_NE(n.summary.find("\u2026"), std::string::npos);
    // The end of a number tells as much as its start.
    EXPECT_NE(n.summary.find("71)"), std::string::npos);
    // A text that fits is never shortened.
    EXPECT_EQ(RingingNotification(std::string(40, '1'), "", "").summary,
              "Anruf von " + std::string(40, '1'));
}

}  // namespace
}  // namespace kw
