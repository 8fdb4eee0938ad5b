// The database procedure call of core, run through the real COM backend against the substitute
// server.
#include "core/database_call.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/call_action.h"
#include "platform/win32/com/dispatch_automation.h"
#include "tests/support/fake_platform.h"
#include "tests/win32/automation/substitute_protocol.h"
#include "tests/win32/automation/substitute_session.h"

namespace kw {
namespace {

using Strings = std::vector<std::string>;
using Values = std::vector<test::ServerValue>;
using test::Boolean;
using test::Text;
namespace variable = test::substitute::variable;

class DatabaseCallComTest : public testing::Test {
  protected:
    MaybeFailure call() { return CallDatabaseProcedure(automation, options, callInfo); }

    test::SubstituteSession server;
    win32::DispatchAutomation automation;
    AppOptions options{.DoJob = false,
                       .Database = "C:\\Büro\\Anrufe.accdb",
                       .Procedure = "ZeigeAnrufer",
                       .Shell = ""};
    CallInfo callInfo{"0171 2345678", "67890"};
};

TEST_F(DatabaseCallComTest, OpensRunsAndQuitsOneObject) {
    for (const bool parameter : {false, true}) {
        test::SubstituteSession run;
        options.Parameter = parameter;
        ASSERT_EQ(call(), std::nullopt);

        EXPECT_EQ(run.members(), (Strings{"OpenCurrentDatabase", "Run", "Quit"}));
        const auto calls = run.calls();
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[0].named, (std::map<std::string, test::ServerValue>{
                                      {"filepath", Text("C:\\Büro\\Anrufe.accdb")},
                                      {"Exclusive", Boolean(false)}}));
        EXPECT_TRUE(calls[0].positional.empty());
        const Values expectedRun =
            parameter ? Values{Text("ZeigeAnrufer"), Text("0171 2345678"), Text("67890")}
                      : Values{Text("ZeigeAnrufer"), Text("0171 2345678")};
        EXPECT_EQ(calls[1].positional, expectedRun);
        EXPECT_TRUE(calls[1].named.empty());
        EXPECT_TRUE(calls[2].positional.empty());
        EXPECT_TRUE(calls[2].named.empty());
        for (const auto& c : calls) {
            EXPECT_EQ(c.object, calls[0].object);
        }
        EXPECT_EQ(run.count("create"), 1);
        EXPECT_EQ(run.count("release"), 1);
    }
}

TEST_F(DatabaseCallComTest, HostileNumbersArriveExactly) {
    const std::string huge = "\"'&<>|%;" + std::string(10 * 1024, '9');
    const std::string cases[] = {
        "\"0171\" & del *.* | calc",
        "'; DROP TABLE Anrufe; --",
        "+49 (0) 30 ☎ Müller 𝄞",
        std::string("vor\0nach\t\r\n\\", 13),
        huge,
        "",
    };
    options.Parameter = true;
    for (const std::string& number : cases) {
        test::SubstituteSession run;
        callInfo = {number, number + "-MSN"};
        ASSERT_EQ(call(), std::nullopt);
        const auto calls = run.calls();
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[1].positional,
                  (Values{Text("ZeigeAnrufer"), Text(number), Text(number + "-MSN")}));
        EXPECT_EQ(callInfo.AnrufNummer, number);
    }
}

TEST_F(DatabaseCallComTest, TextsWrittenBackReplaceTheStoredOnes) {
    options.Parameter = true;
    struct Case {
        const char* member;
        const char* index;
        std::string AppOptions::*option;
        std::string CallInfo::*number;
    };
    const Case cases[] = {
        {"OpenCurrentDatabase", "0", &AppOptions::Database, nullptr},
        {"Run", "0", &AppOptions::Procedure, nullptr},
        {"Run", "1", nullptr, &CallInfo::AnrufNummer},
        {"Run", "2", nullptr, &CallInfo::MSN},
    };
    for (const auto& c : cases) {
        test::SubstituteSession run;
        run.set(variable::kWriteMember, c.member);
        run.set(variable::kWriteIndex, c.index);
        run.set(variable::kWriteText, "Neu: ÄÖÜ €");
        const AppOptions optionsBefore = options;
        const CallInfo callBefore = callInfo;
        ASSERT_EQ(call(), std::nullopt);

        AppOptions expectedOptions = optionsBefore;
        CallInfo expectedCall = callBefore;
        if (c.option != nullptr) {
            expectedOptions.*c.option = "Neu: ÄÖÜ €";
        } else {
            expectedCall.*c.number = "Neu: ÄÖÜ €";
        }
        EXPECT_EQ(options, expectedOptions) << c.member << " " << c.index;
        EXPECT_EQ(callInfo, expectedCall) << c.member << " " << c.index;
        options = optionsBefore;
        callInfo = callBefore;
    }
}

TEST_F(DatabaseCallComTest, AFailingRunEndsTheCallWithTheServersError) {
    const std::string description = "Die Prozedur »ZeigeAnrufer« wurde nicht gefunden: äöüß";
    server.set(variable::kFailMember, "Run");
    server.set(variable::kFailCode, "2501");
    server.set(variable::kFailDescription, description);

    EXPECT_EQ(call(), (Failure{2501, description}));
    EXPECT_EQ(server.members(), (Strings{"OpenCurrentDatabase", "Run"}));
    EXPECT_EQ(server.count("release"), 1);
}

TEST_F(DatabaseCallComTest, TheUserSeesOneMessageWithNumberAndDescription) {
    server.set(variable::kFailMember, "Run");
    server.set(variable::kFailScode, "0x800A09C5");
    server.set(variable::kFailDescription, "Abgebrochen – Größe");
    test::FakeLauncher launcher;
    test::FakeMessageBox messages;
    CallActionPlatform platform{launcher, automation, messages};

    RunCallAction(options, callInfo, platform);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Fehler-Nummer 2501\r\n\r\nAbgebrochen – Größe");
    EXPECT_EQ(server.members(), (Strings{"OpenCurrentDatabase", "Run"}));
    EXPECT_EQ(server.count("release"), 1);
}

TEST_F(DatabaseCallComTest, AServerThatLacksANameStopsTheCallThere) {
    const std::pair<const char*, std::pair<Failure, Strings>> cases[] = {
        {"Exclusive", {{448, "Benanntes Argument nicht gefunden"}, Strings{}}},
        {"OpenCurrentDatabase",
         {{438, "Objekt unterstützt diese Eigenschaft oder Methode nicht"}, Strings{}}},
        {"Run",
         {{438, "Objekt unterstützt diese Eigenschaft oder Methode nicht"},
          Strings{"OpenCurrentDatabase"}}},
        {"Quit",
         {{438, "Objekt unterstützt diese Eigenschaft oder Methode nicht"},
          Strings{"OpenCurrentDatabase", "Run"}}},
    };
    for (const auto& [forgotten, expected] : cases) {
        test::SubstituteSession run;
        run.set(variable::kForget, forgotten);
        EXPECT_EQ(call(), expected.first) << forgotten;
        EXPECT_EQ(run.members(), expected.second) << forgotten;
        EXPECT_EQ(run.count("release"), 1) << forgotten;
    }
}

TEST_F(DatabaseCallComTest, EveryPressCreatesAndReleasesItsOwnObject) {
    for (int press = 1; press <= 2; ++press) {
        ASSERT_EQ(call(), std::nullopt);
        EXPECT_EQ(server.count("create"), press);
        EXPECT_EQ(server.count("release"), press);
    }
    for (const auto& release : server.records("release")) {
        EXPECT_EQ(release.at(2), "initialised");
    }
    const auto calls = server.calls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0].object, calls[2].object);
    EXPECT_EQ(calls[3].object, calls[5].object);
}

TEST_F(DatabaseCallComTest, EmptyOptionsArePassedOnAsStored) {
    options.Database.clear();
    options.Procedure.clear();
    ASSERT_EQ(call(), std::nullopt);
    const auto calls = server.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].named.at("filepath"), Text(""));
    EXPECT_EQ(calls[1].positional.at(0), Text(""));
}

}  // namespace
}  // namespace kw
