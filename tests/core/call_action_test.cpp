#include "core/call_action.h"

#include <gtest/gtest.h>

#include <new>

#include "core/error_numbers.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_automation.h"

namespace kw {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;

class CallActionTest : public testing::Test {
  protected:
    void press() { RunCallAction(options, call, platform); }

    AppOptions options{.DoJob = true, .Start = 3};
    CallInfo call{"(0) 1 2-3", "(6) 7"};
    test::FakeLauncher launcher;
    test::RecordingAutomation automation;
    test::FakeMessageBox messages;
    CallActionPlatform platform{launcher, automation, messages};
};

TEST_F(CallActionTest, StartsTheFilledTemplateAsAProgram) {
    options.Shell = "suche --nr {AnrufNummer} --msn {MSN}";
    press();
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].text(), "suche --nr (0) 1 2-3 --msn (6) 7");
    EXPECT_TRUE(launcher.opened.empty());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(call, (CallInfo{"(0) 1 2-3", "(6) 7"}));
}

TEST_F(CallActionTest, ReducesTheStoredNumbersInPlaceAndAgainOnTheNextPress) {
    options.Formatierung = true;
    options.Shell = "suche {AnrufNummer} {MSN}";
    press();
    EXPECT_EQ(call, (CallInfo{"012-3", "67"}));
    press();
    ASSERT_EQ(launcher.started.size(), 2u);
    EXPECT_EQ(launcher.started[0].text(), "suche 012-3 67");
    EXPECT_EQ(launcher.started[1].text(), "suche 012-3 67");
}

TEST_F(CallActionTest, ChoosesWebOrProgramByThePrefix) {
    const struct {
        std::string shell;
        bool web;
    } cases[] = {
        {"http://x.de/{AnrufNummer}", true},
        {"HTTP://x", true},
        {"WWW.x.de", true},
        {"www x", false},
        {"ftp://x", false},
        {" http://x", false},
        {"htt", false},
        {"", false},
    };
    for (const auto& c : cases) {
        launcher = {};
        options.Shell = c.shell;
        press();
        EXPECT_EQ(launcher.opened.size(), c.web ? 1u : 0u) << c.shell;
        EXPECT_EQ(launcher.started.size(), c.web ? 0u : 1u) << c.shell;
    }
}

TEST_F(CallActionTest, ANumberThatWouldMakeAWebAddressIsRefused) {
    options.Shell = "{AnrufNummer}";
    call.AnrufNummer = "www.angreifer.example";
    press();
    EXPECT_TRUE(launcher.opened.empty());
    EXPECT_TRUE(launcher.started.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Klingelwart");
    EXPECT_EQ(messages.shown[0].text.rfind("Fehler-Nummer 5\r\n\r\n", 0), 0u);
}

TEST_F(CallActionTest, ProgramNotFoundShowsTheShellMessageQuotingTheCommand) {
    options.Shell = "fehlt {AnrufNummer}";
    launcher.startFailure = MakeFailure(error::kFileNotFound);
    press();
    ASSERT_EQ(messages.shown.size(), 1u);
    const auto& shown = messages.shown[0];
    EXPECT_EQ(shown.title, "Fehlerhafter Shell-Befehl in Optionen-Dialog");
    EXPECT_EQ(shown.text,
              "Bitte prüfen Sie unter Optionen den von Ihnen eingegebenen Shell-Befehl und ggf. "
              "die übergebenen Parameter.\r\n\r\n'fehlt (0) 1 2-3'\r\n\r\nkonnte von Ihrem "
              "Betriebssystem nicht verarbeitet werden.");
    EXPECT_EQ(shown.icon, MessageIcon::Critical);
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
}

TEST_F(CallActionTest, OtherFailuresShowTheirNumberAndDescription) {
    const struct {
        Failure failure;
        std::string text;
    } cases[] = {
        {{70, "Zugriff verweigert"}, "Fehler-Nummer 70\r\n\r\nZugriff verweigert"},
        {{-2147221005, "Ungültige Klassenzeichenfolge"},
         "Fehler-Nummer -2147221005\r\n\r\nUngültige Klassenzeichenfolge"},
        {{75, ""}, "Fehler-Nummer 75\r\n\r\n"},
    };
    for (const auto& c : cases) {
        messages = {};
        launcher.startFailure = c.failure;
        press();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, c.text);
        EXPECT_EQ(messages.shown[0].title, "Klingelwart");
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
        EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
    }
}

TEST_F(CallActionTest, NothingStoredMeansAnEmptyProgramCommandAndOneMessage) {
    options = AppOptions{.DoJob = true};
    launcher.startFailure = MakeFailure(error::kInvalidCall);
    press();
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].text(), "");
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(CallActionTest, DatabaseActionFailureWith53QuotesAnEmptyCommand) {
    options.DoJob = false;
    options.Shell = "wird nicht benutzt";
    automation.failCreate = MakeFailure(error::kFileNotFound);
    press();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("\r\n\r\n''\r\n\r\n"), std::string::npos);
    EXPECT_TRUE(launcher.started.empty());
}

class ThrowingLauncher : public platform::Launcher {
  public:
    void openAddress(const FilledCommand&) override {}
    MaybeFailure startProgram(const FilledCommand&) override { throw std::bad_alloc(); }
};

TEST_F(CallActionTest, AnExceptionStillEndsInExactlyOneMessage) {
    ThrowingLauncher throwing;
    CallActionPlatform throwingPlatform{throwing, automation, messages};
    options.Shell = "x";
    RunCallAction(options, call, throwingPlatform);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Fehler-Nummer 7\r\n\r\nNicht genügend Speicher");
}

}  // namespace
}  // namespace kw
