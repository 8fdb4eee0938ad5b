#include "ui/main_screen.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "tests/support/memory_call_list_file.h"
#include "tests/support/recording_automation.h"
#include "ui/incoming_calls.h"

namespace kw::ui {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using Calls = std::vector<std::string>;

class FakeMainScreenView : public MainScreenView {
  public:
    void setCallerLine(std::string_view text) override { callerLine = text; }
    void setActionEnabled(bool enabled) override { actionEnabled = enabled; }
    void setCaption(std::string_view text) override { caption = text; }
    void setActionCaption(std::string_view text) override { actionCaption = text; }
    void endProgram() override { ended = true; }
    void showMissedCalls(int count) override { missed = count; }

    std::string callerLine;
    bool actionEnabled = false;
    std::string caption = "unset";
    std::string actionCaption = "unset";
    bool ended = false;
    int missed = -1;
};

// Runs a stand-in for the modal dialog: whatever the test wants the dialog to do.
class FakeDialogOpener : public DialogOpener {
  public:
    void openOptionen() override {
        opened.emplace_back("Optionen");
        if (optionen) {
            optionen();
        }
    }
    void openInfo() override { opened.emplace_back("Info"); }
    void openAnrufquellen() override { opened.emplace_back("Anrufquellen"); }
    void openTelefonbuecher() override { opened.emplace_back("Telefonbuecher"); }
    void openAnzeige() override { opened.emplace_back("Anzeige"); }
    int openAnrufliste() override {
        opened.emplace_back("Anrufliste");
        return stillUnseen;
    }

    std::function<void()> optionen;
    Calls opened;
    int stillUnseen = 0;
};

class MainScreenTest : public testing::Test {
  protected:
    bool load() { return screen.load(); }

    FakeMainScreenView view;
    AppOptions options;
    CallInfo call;
    test::FakeSettingsStore store;
    test::FakeInstanceGuard instance;
    test::FakeProgramInfo program;
    test::FakeWindowManager window;
    test::FakeHelpViewer help;
    FakeDialogOpener dialogs;
    test::FakeLauncher launcher;
    test::RecordingAutomation automation;
    test::FakeMessageBox messages;
    MainScreenPlatform platform{instance,
                                program,
                                store,
                                window,
                                help,
                                dialogs,
                                CallActionPlatform{launcher, automation, messages}};
    MainScreen screen{view, options, call, platform};
};

TEST_F(MainScreenTest, ASecondInstanceEndsBeforeTouchingAnything) {
    instance.running = true;
    store.set("Start", "2");
    EXPECT_FALSE(load());
    EXPECT_EQ(view.caption, "unset");
    EXPECT_EQ(view.actionCaption, "unset");
    EXPECT_TRUE(window.calls.empty());
    EXPECT_EQ(options, AppOptions{});
}

TEST_F(MainScreenTest, CaptionCarriesTheProgramsOwnVersion) {
    struct Case {
        platform::ProgramVersion version;
        const char* caption;
    };
    for (const auto& c : {Case{{2, 0, 0}, "Klingelwart (Version 2.0.0)"},
                          Case{{10, 3, 12}, "Klingelwart (Version 10.3.12)"}}) {
        program.programVersion = c.version;
        ASSERT_TRUE(load());
        EXPECT_EQ(view.caption, c.caption);
    }
}

TEST_F(MainScreenTest, LoadLabelsTheButtonAndPlacesTheWindowFromTheStore) {
    struct Case {
        const char* doJob;  // nullptr: not stored
        const char* start;
        const char* buttonCaption;
        Calls placement;
    };
    const Case cases[] = {
        {nullptr, nullptr, "&Anwendung starten", {"top"}},
        {"1", "1", "&Anwendung starten", {"minimize"}},
        {"0", "2", "&Anrufer-Info anzeigen", {"notop", "restore"}},
        {"0", "3", "&Anrufer-Info anzeigen", {"top"}},
        {"1", "4", "&Anwendung starten", {"top"}},
        {"true", " 1", "&Anwendung starten", {"top"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.buttonCaption);
        store = {};
        window.calls.clear();
        options = {};
        if (c.doJob)
            store.set("DoJob", c.doJob);
        if (c.start)
            store.set("Start", c.start);
        ASSERT_TRUE(load());
        EXPECT_EQ(view.actionCaption, c.buttonCaption);
        EXPECT_EQ(window.calls, c.placement);
        EXPECT_FALSE(view.actionEnabled);
    }
}

TEST_F(MainScreenTest, ARingShowsTheCallAndLeavesTheWindowAlone) {
    store.set("Start", "1");
    ASSERT_TRUE(load());
    window.calls.clear();
    screen.phoneRang("<b>&1</b>", " 67890 ");
    EXPECT_EQ(view.callerLine, "Anruf von <b>&1</b> auf Leitung:  67890 ");
    EXPECT_TRUE(view.actionEnabled);
    EXPECT_EQ(call, (CallInfo{"<b>&1</b>", " 67890 "}));
    EXPECT_TRUE(window.calls.empty());
    EXPECT_TRUE(launcher.started.empty());
}

TEST_F(MainScreenTest, DoubleClickClearsTheCall) {
    screen.phoneRang("0123", "67890");
    screen.callerLineDoubleClicked();
    EXPECT_EQ(view.callerLine, "");
    EXPECT_FALSE(view.actionEnabled);
    EXPECT_EQ(call, CallInfo{});
}

TEST_F(MainScreenTest, TheActionButtonRunsTheConfiguredAction) {
    store.set("Shell", "suche {AnrufNummer} {MSN}");
    ASSERT_TRUE(load());
    screen.phoneRang("(012) 456789", "67890");
    screen.actionClicked();
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].text(), "suche (012) 456789 67890");
}

TEST_F(MainScreenTest, TheExitQuestionEndsOnlyOnYes) {
    screen.phoneRang("0123", "67890");
    for (const auto answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        messages.answer = answer;
        screen.endClicked();
        EXPECT_EQ(view.ended, answer == MessageAnswer::Yes);
    }
    ASSERT_EQ(messages.shown.size(), 2u);
    const auto& asked = messages.shown[0];
    EXPECT_EQ(asked.text, "Möchten Sie die Anwendung tatsächlich beenden ?");
    EXPECT_EQ(asked.title, "Klingelwart beenden");
    EXPECT_EQ(asked.icon, MessageIcon::Question);
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(view.callerLine, "Anruf von 0123 auf Leitung: 67890");
    EXPECT_TRUE(view.actionEnabled);
}

TEST_F(MainScreenTest, AfterTheOptionsDialogThePlacementAndCaptionFollowTheOptions) {
    store.set("Start", "3");
    ASSERT_TRUE(load());
    window.calls.clear();

    // The dialog reloads the options while it is open, as after a successful OK.
    dialogs.optionen = [&] {
        EXPECT_TRUE(window.calls.empty());
        store.set("Start", "1");
        store.set("DoJob", "0");
        LoadOptions(store, options);
    };
    screen.optionenChosen();
    EXPECT_EQ(window.calls, Calls{"minimize"});
    EXPECT_EQ(view.actionCaption, "&Anrufer-Info anzeigen");

    // A cancelled dialog still re-applies the placement: minimized again.
    dialogs.optionen = nullptr;
    screen.optionenChosen();
    EXPECT_EQ(window.calls, (Calls{"minimize", "minimize"}));
    EXPECT_EQ(dialogs.opened, (Calls{"Optionen", "Optionen"}));
}

TEST_F(MainScreenTest, HelpOpensTheFileBesideTheProgram) {
    struct Case {
        const char* directory;
        char separator;
        const char* path;
    };
    const Case cases[] = {
        {"/opt/klingelwart", '/', "/opt/klingelwart/KLINGELWART2.chm"},
        {"/opt/klingelwart/", '/', "/opt/klingelwart/KLINGELWART2.chm"},
        {"C:\\Programme\\Klingelwart", '\\', "C:\\Programme\\Klingelwart\\KLINGELWART2.chm"},
        {"D:\\", '\\', "D:\\KLINGELWART2.chm"},
        {"/", '/', "/KLINGELWART2.chm"},
    };
    for (const auto& c : cases) {
        program.dir = c.directory;
        program.separator = c.separator;
        screen.helpChosen();
        EXPECT_EQ(help.opened.back(), c.path);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainScreenTest, InfoOpensTheAboutDialogAndNothingFollows) {
    ASSERT_TRUE(load());
    window.calls.clear();
    screen.infoChosen();
    EXPECT_EQ(dialogs.opened, Calls{"Info"});
    EXPECT_TRUE(window.calls.empty());
}

// What reaches the window, the list and the phone's tooltip from reports of several sources.
TEST_F(MainScreenTest, OneCallFromTwoSourcesIsOneEntryWithWhatBecameOfIt) {
    test::MemoryCallListFile file;
    CallLog log(file);
    CallNotificationsPlatform quiet;
    CallNotifications notifications(quiet);
    CallTime now{std::chrono::hours(1000)};
    std::vector<std::string> problems;
    IncomingCallsPlatform incoming{
        &log, [&](const std::string& p) { problems.push_back(p); }, {}, [&] { return now; }};
    IncomingCalls calls(screen, call, notifications, incoming);
    using platform::CallStage;
    const auto report = [&](CallSourceKind kind, CallStage stage, const char* id) {
        calls.report(kind, {stage, id, stage == CallStage::Ringing ? "030 1234567" : "",
                            stage == CallStage::Ringing ? "67890" : ""});
    };
    calls.setNames([](std::string_view n) -> std::optional<std::string> {
        return n == "030 1234567" ? std::optional<std::string>("Erika") : std::nullopt;
    });

    report(CallSourceKind::RouterMonitor, CallStage::Ringing, "0");
    calls.report(CallSourceKind::RingTool, {CallStage::Ringing, "r", "+49301234567", "67890"});
    report(CallSourceKind::RouterMonitor, CallStage::Answered, "0");
    report(CallSourceKind::RouterMonitor, CallStage::Ended, "0");
    now += std::chrono::seconds(20);
    calls.tick();
    // The router reuses its id for the next call, which nobody takes.
    report(CallSourceKind::RouterMonitor, CallStage::Ringing, "0");
    report(CallSourceKind::RouterMonitor, CallStage::Ended, "0");
    now += std::chrono::seconds(20);
    file.full = true;
    calls.tick();

    EXPECT_EQ(view.callerLine, "Anruf von Erika (030 1234567) auf Leitung: 67890");
    ASSERT_EQ(log.entries().size(), 2u);
    EXPECT_EQ(log.entries()[0].name, "Erika");
    EXPECT_EQ(log.entries()[0].outcome, CallOutcome::Answered);
    // Its outcome could not be written: the list says so once and keeps it unknown.
    EXPECT_EQ(log.entries()[1].outcome, CallOutcome::Unknown);
    ASSERT_FALSE(problems.empty());
    EXPECT_NE(problems.back().find("Datenträger voll"), std::string::npos);
}

// A call that rang while the list was open is still unseen after it closes.
TEST_F(MainScreenTest, TheMissedCountShowsWhatTheListLeftUnseen) {
    ASSERT_TRUE(load());
    screen.missedCallsCounted(3);
    EXPECT_EQ(view.missed, 3);
    dialogs.stillUnseen = 1;
    screen.anruflisteChosen();
    EXPECT_EQ(dialogs.opened, Calls{"Anrufliste"});
    EXPECT_EQ(view.missed, 1);
    EXPECT_EQ(MissedCallsText(1), "1 verpasst");
    EXPECT_EQ(MissedCallsText(0), "");
}

}  // namespace
}  // namespace kw::ui
