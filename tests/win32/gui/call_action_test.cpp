// The action button of the real program: the recorder started with the call's numbers, the
// digits-only format, and the message for a program that does not exist.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"
#include "tests/win32/gui/process_windows.h"
#include "tests/win32/gui/recorded_arguments.h"
#include "tests/win32/win32_test_util.h"

namespace kw::win32::gui {
namespace {

namespace fs = std::filesystem;

struct ActionCase {
    const char* what;
    std::wstring caller;
    std::wstring called;
    std::wstring arrivingCaller;
    std::wstring arrivingCalled;
};

class CallActionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(RecorderProgram())) << RecorderProgram();
        ASSERT_TRUE(registry_.set(L"DoJob", L"1"));
        ASSERT_TRUE(registry_.set(L"Start", L"2"));
        ASSERT_TRUE(registry_.set(
            L"Shell", L"\"" + RecorderProgram().wstring() + L"\" {AnrufNummer} --msn={MSN}"));
    }

    // Rings each case in one run of the program and clicks the action button.
    void expectArguments(const std::vector<ActionCase>& cases) {
        const KlingelwartSession session;
        ASSERT_TRUE(session.ready());
        for (const ActionCase& c : cases) {
            SCOPED_TRACE(c.what);
            fs::remove(session.recordFile());
            ASSERT_TRUE(session.ring(c.caller, c.called));
            ASSERT_TRUE(
                session.awaitCallerLine(L"Anruf von " + c.caller + L" auf Leitung: " + c.called));
            ASSERT_TRUE(PollUntil([&] { return session.actionEnabled(); }));
            session.click("BTN_Db");
            const auto arguments = AwaitRecordedArguments(session.recordFile());
            ASSERT_TRUE(arguments) << "the recorder did not run";
            const std::vector<std::string> expected = {WideToUtf8(RecorderProgram().wstring()),
                                                       WideToUtf8(c.arrivingCaller),
                                                       "--msn=" + WideToUtf8(c.arrivingCalled)};
            EXPECT_EQ(*arguments, expected);
        }
    }

    OptionsRegistry registry_;
};

TEST_F(CallActionTest, EachNumberArrivesAsOneUntouchedArgument) {
    ASSERT_TRUE(registry_.set(L"Formatierung", L"0"));
    expectArguments({
        {"ordinary", L"(012) 456 789", L"67890", L"(012) 456 789", L"67890"},
        {"shell characters", L"&calc", L"%PATH%", L"&calc", L"%PATH%"},
        {"quotes and backslashes", L"a \"b\" c\\", L"x\\\"", L"a \"b\" c\\", L"x\\\""},
        {"options", L"-rf", L"/c calc", L"-rf", L"/c calc"},
        {"non-ASCII", L"☎ Zürich \U0001F4DE", L"Ω", L"☎ Zürich \U0001F4DE", L"Ω"},
        {"empty", L"", L"", L"", L""},
        // Filling is one pass per placeholder, so a "{MSN}" that came in the caller number is
        // filled too; it still arrives as number text in the caller's place.
        {"placeholders", L"{MSN}", L"{AnrufNummer}", L"{AnrufNummer}", L"{AnrufNummer}"},
    });
}

TEST_F(CallActionTest, DigitsOnlyDropsBracketsAndBlanks) {
    ASSERT_TRUE(registry_.set(L"Formatierung", L"1"));
    expectArguments({
        {"brackets and blanks", L"(012) 456 789", L"(0) 6 7", L"012456789", L"067"},
        {"other characters stay", L"+49-30/12", L"a b", L"+49-30/12", L"ab"},
        {"nothing left", L"( )", L" ", L"", L""},
    });
}

TEST_F(CallActionTest, MissingProgramShowsMessage53AndTheProgramGoesOn) {
    const test::TempDir dir;
    const fs::path missing = dir.path() / L"fehlt.exe";
    ASSERT_TRUE(registry_.set(L"Shell", missing.wstring() + L" {AnrufNummer}"));

    const KlingelwartSession session;
    ASSERT_TRUE(session.ready());
    ASSERT_TRUE(session.ring(L"0301", L"42"));
    ASSERT_TRUE(session.awaitCallerLine(L"Anruf von 0301 auf Leitung: 42"));
    session.click("BTN_Db");
    const SeenMessageBox box =
        session.awaitMessageBox(L"Fehlerhafter Shell-Befehl in Optionen-Dialog");
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text,
              L"Bitte prüfen Sie unter Optionen den von Ihnen eingegebenen Shell-Befehl und ggf. "
              L"die übergebenen Parameter.\r\n\r\n'" +
                  missing.wstring() +
                  L" 0301'\r\n\r\nkonnte von Ihrem Betriebssystem nicht verarbeitet werden.");
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(box.hasIcon);
    AnswerMessageBox(box.window, IDOK);
    EXPECT_TRUE(PollUntil([&] { return !IsWindow(box.window); }));
    EXPECT_TRUE(session.process().running());
    EXPECT_EQ(session.callerLine(), L"Anruf von 0301 auf Leitung: 42");
}

}  // namespace
}  // namespace kw::win32::gui
