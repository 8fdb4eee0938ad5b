// Every way out of the real program asks first; No keeps the program and its call.
#include <gtest/gtest.h>

#include <vector>

#include "tests/win32/gui/keyboard_input.h"
#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"

namespace kw::win32::gui {
namespace {

struct ExitWay {
    const char* what;
    void (*ask)(const KlingelwartSession&);
};

TEST(ExitQuestion, AsksWithYesAsDefaultAndNoKeepsEverything) {
    const ExitWay ways[] = {
        {"BTN_End", [](const KlingelwartSession& s) { s.click("BTN_End"); }},
        {"mnuBeenden", [](const KlingelwartSession& s) { s.menu("mnuBeenden"); }},
        {"Ctrl+F4",
         [](const KlingelwartSession& s) {
             EXPECT_TRUE(PressKeys(s.mainWindow(), {VK_CONTROL, VK_F4}));
         }},
    };
    const OptionsRegistry registry;
    ASSERT_TRUE(registry.set(L"Start", L"2"));
    for (const ExitWay& way : ways) {
        SCOPED_TRACE(way.what);
        const KlingelwartSession session;
        ASSERT_TRUE(session.ready());
        const std::wstring line = L"Anruf von 0301 auf Leitung: 42";
        ASSERT_TRUE(session.ring(L"0301", L"42"));
        ASSERT_TRUE(session.awaitCallerLine(line));

        way.ask(session);
        const SeenMessageBox first = session.awaitMessageBox(kExitTitle);
        ASSERT_TRUE(first);
        EXPECT_EQ(first.text, kExitQuestion);
        EXPECT_EQ(first.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(first.defaultButton, IDYES);
        EXPECT_TRUE(first.hasIcon);
        AnswerMessageBox(first.window, IDNO);
        ASSERT_TRUE(PollUntil([&] { return !IsWindow(first.window); }));
        EXPECT_TRUE(session.process().running());
        EXPECT_EQ(session.callerLine(), line);
        EXPECT_TRUE(session.actionEnabled());

        way.ask(session);
        const SeenMessageBox second = session.awaitMessageBox(kExitTitle);
        ASSERT_TRUE(second);
        AnswerMessageBox(second.window, IDYES);
        EXPECT_EQ(session.process().awaitExit(), 0u);
    }
}

}  // namespace
}  // namespace kw::win32::gui
