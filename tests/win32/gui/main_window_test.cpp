// The main window of the real program: its caption and place, the caller line with forged
// numbers, clearing a call, and a second start.
#include <gtest/gtest.h>

#include <string>

#include "tests/win32/gui/keyboard_input.h"
#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"
#include "tests/win32/gui/phone_ring.h"
#include "tests/win32/gui/process_windows.h"
#include "ui/win32/control_ids.h"

namespace kw::win32::gui {
namespace {

std::wstring CallerLine(const std::wstring& caller, const std::wstring& called) {
    return L"Anruf von " + caller + L" auf Leitung: " + called;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(registry_.set(L"Start", L"2")); }

    OptionsRegistry registry_;
};

TEST_F(MainWindowTest, ShowsItsCaptionAtTheTopLeftWithNoCall) {
    const KlingelwartSession session;
    ASSERT_TRUE(session.ready());
    EXPECT_EQ(TextOf(session.mainWindow()), L"Klingelwart (Version 2.0.0)");
    RECT outer{};
    ASSERT_TRUE(GetWindowRect(session.mainWindow(), &outer));
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    EXPECT_EQ(session.callerLine(), L"");
    EXPECT_FALSE(session.actionEnabled());
    EXPECT_EQ(TextOf(session.control("BTN_Db")), L"&Anwendung starten");
    EXPECT_EQ(TextOf(session.control("BTN_End")), L"&Beenden");
    // "&" in a caller number must stay a character, and double clicks must reach the line.
    EXPECT_NE(StyleOf(session.control("LBL_Anrufer")) & SS_NOPREFIX, 0);
    EXPECT_NE(StyleOf(session.control("LBL_Anrufer")) & SS_NOTIFY, 0);
}

struct ShownCall {
    const char* what;
    std::wstring caller;
    std::wstring called;
};

TEST_F(MainWindowTest, CallerLineShowsForgedNumbersExactly) {
    const ShownCall calls[] = {
        {"ordinary", L"(012) 456789", L"67890"},
        {"ampersands", L"&Müller & Co", L"&&"},
        {"quotes", L"\"a\" 'b' `c`", L"\""},
        {"markup", L"<b>fett</b>", L"<i>"},
        {"variables", L"%PATH%", L"$HOME"},
        {"line break", L"1\r\n2", L"3\n4"},
        {"long", std::wstring(2000, L'9'), std::wstring(2000, L' ')},
        {"non-ASCII", L"☎ Zürich \U0001F4DE", L"Ω"},
        {"placeholders", L"{MSN}", L"{AnrufNummer}"},
        {"empty", L"", L""},
    };
    const KlingelwartSession session;
    ASSERT_TRUE(session.ready());
    for (const ShownCall& call : calls) {
        SCOPED_TRACE(call.what);
        ASSERT_TRUE(session.ring(call.caller, call.called));
        EXPECT_TRUE(session.awaitCallerLine(CallerLine(call.caller, call.called)))
            << "shown: " << session.callerLine().size() << " characters";
        EXPECT_TRUE(session.actionEnabled());
        // Cleared in between, so that each call arms the button anew.
        session.doubleClickCallerLine();
        EXPECT_TRUE(session.awaitCallerLine(L""));
        EXPECT_TRUE(PollUntil([&] { return !session.actionEnabled(); }));
    }
    EXPECT_EQ(RingsWithTouchedTexts(session.mainWindow()), 0)
        << "the program wrote through the references it was handed";
}

struct ClearWay {
    const char* what;
    void (*clear)(const KlingelwartSession&);
};

TEST_F(MainWindowTest, ClearingEmptiesTheLineAndDisarmsTheAction) {
    const ClearWay ways[] = {
        {"double click", [](const KlingelwartSession& s) { s.doubleClickCallerLine(); }},
        {"Ctrl+L",
         [](const KlingelwartSession& s) {
             EXPECT_TRUE(PressKeys(s.mainWindow(), {VK_CONTROL, 'L'}));
         }},
        {"mnuDel", [](const KlingelwartSession& s) { s.menu("mnuDel"); }},
    };
    const KlingelwartSession session;
    ASSERT_TRUE(session.ready());
    for (const ClearWay& way : ways) {
        SCOPED_TRACE(way.what);
        ASSERT_TRUE(session.ring(L"0301", L"42"));
        ASSERT_TRUE(session.awaitCallerLine(CallerLine(L"0301", L"42")));
        way.clear(session);
        EXPECT_TRUE(session.awaitCallerLine(L""));
        EXPECT_TRUE(PollUntil([&] { return !session.actionEnabled(); }));
    }
}

TEST_F(MainWindowTest, SecondStartEndsAtOnceWithoutAWindow) {
    const KlingelwartSession first;
    ASSERT_TRUE(first.ready());
    const ChildProcess second(KlingelwartProgram());
    ASSERT_TRUE(second.started());
    bool secondShowedAWindow = false;
    const bool ended = PollUntil(
        [&] {
            for (HWND window : TopWindows(second.id())) {
                secondShowedAWindow = secondShowedAWindow || IsWindowVisible(window) ||
                                      ClassOf(window) == winui::kMainWindowClass;
            }
            return !second.running();
        },
        std::chrono::seconds(5));
    ASSERT_TRUE(ended);
    EXPECT_EQ(second.awaitExit(), 0u);
    EXPECT_FALSE(secondShowedAWindow);
    EXPECT_TRUE(first.process().running());
    ASSERT_TRUE(first.ring(L"0302", L"42"));
    EXPECT_TRUE(first.awaitCallerLine(CallerLine(L"0302", L"42")));
}

}  // namespace
}  // namespace kw::win32::gui
