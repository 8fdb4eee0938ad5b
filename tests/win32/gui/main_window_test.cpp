// The main window of the real program: its caption and place, the caller line with forged
// numbers, clearing a call, and a second start.
#include <gtest/gtest.h>

#include <string>

#include "tests/win32/gui/keyboard_input.h"
#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"
#include "tests/win32/gui/phone_ring.h"
#include "tests/win32/gui/process_windows.h"
#include "tests/win32/gui/tooltip_text.h"
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
    std::wstring shownCaller;  // whole, in the line or, when shortened, in its tip
    std::wstring shownCalled;
    bool shortened = false;
};

TEST_F(MainWindowTest, CallerLineShowsForgedNumbersSafelyOnOneLine) {
    const std::wstring hint = L"Ein Doppelklick löscht den letzten Anruf";
    const ShownCall calls[] = {
        {"ordinary", L"(012) 456789", L"67890", L"(012) 456789", L"67890"},
        {"ampersands", L"&Müller & Co", L"&&", L"&Müller & Co", L"&&"},
        {"quotes", L"\"a\" 'b' `c`", L"\"", L"\"a\" 'b' `c`", L"\""},
        {"markup", L"<b>fett</b>", L"<i>", L"<b>fett</b>", L"<i>"},
        {"variables", L"%PATH%", L"$HOME", L"%PATH%", L"$HOME"},
        {"line break", L"1\r\n2", L"3\n4", L"1\u240d\u240a2", L"3\u240a4"},
        {"controls", L"123\n456\tx", L"1\x7f\x85", L"123\u240a456\u2409x", L"1\u2421\ufffd"},
        {"direction", L"\u202e0301", L"\u2066\u202c", L"\ufffd0301", L"\ufffd\ufffd"},
        {"right to left", L"שלום 1", L"2", L"\u2068שלום 1\u2069", L"2"},
        {"300 digits", std::wstring(300, L'9'), L"42", std::wstring(300, L'9'), L"42", true},
        {"long", std::wstring(2000, L'9'), std::wstring(2000, L' '), std::wstring(2000, L'9'),
         std::wstring(2000, L' '), true},
        {"non-ASCII", L"☎ Zürich \U0001F4DE", L"Ω", L"☎ Zürich \U0001F4DE", L"Ω"},
        {"placeholders", L"{MSN}", L"{AnrufNummer}", L"{MSN}", L"{AnrufNummer}"},
        {"empty", L"", L"", L"", L""},
    };
    const KlingelwartSession session;
    ASSERT_TRUE(session.ready());
    const HWND label = session.control("LBL_Anrufer");
    for (const ShownCall& call : calls) {
        SCOPED_TRACE(call.what);
        ASSERT_TRUE(session.ring(call.caller, call.called));
        const std::wstring whole = CallerLine(call.shownCaller, call.shownCalled);
        if (call.shortened) {
            // Both literals stay in sight; the tip reader sees at most 1023 characters.
            ASSERT_TRUE(
                PollUntil([&] { return session.callerLine().find(L'…') != std::wstring::npos; }));
            const std::wstring line = session.callerLine();
            EXPECT_TRUE(line.starts_with(L"Anruf von ")) << line.size();
            EXPECT_NE(line.find(L" auf Leitung: "), std::wstring::npos);
            EXPECT_EQ(TooltipTextOf(session.processId(), label).value_or(L"").substr(0, 1000),
                      (whole + L"\r\n" + hint).substr(0, 1000));
        } else {
            EXPECT_TRUE(session.awaitCallerLine(whole))
                << "shown: " << session.callerLine().size() << " characters";
            EXPECT_EQ(TooltipTextOf(session.processId(), label), hint);
        }
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
