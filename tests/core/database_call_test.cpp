#include "core/database_call.h"

#include <gtest/gtest.h>

#include "core/call_action.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_automation.h"

namespace kw {
namespace {

using Strings = std::vector<std::string>;

class DatabaseCallTest : public testing::Test {
  protected:
    void press() { RunCallAction(options, call, platform); }

    AppOptions options{
        .DoJob = false, .Database = "C:\\Kunden.mdb", .Procedure = "ZeigeAnrufer", .Shell = "nie"};
    CallInfo call{"(012) 456789", "67890"};
    test::FakeLauncher launcher;
    test::RecordingAutomation server;
    test::FakeMessageBox messages;
    CallActionPlatform platform{launcher, server, messages};
};

TEST_F(DatabaseCallTest, OpensRunsAndQuitsOneNewObject) {
    for (const bool parameter : {false, true}) {
        server = {};
        options.Parameter = parameter;
        press();
        EXPECT_EQ(server.log->createdProgIds, Strings{"Access.Application"});
        EXPECT_EQ(server.members(1), (Strings{"OpenCurrentDatabase", "Run", "Quit"}));
        const auto& calls = server.log->calls;
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_TRUE(calls[0].positional.empty());
        EXPECT_EQ(calls[0].named, (std::map<std::string, std::string>{
                                      {"filepath", "C:\\Kunden.mdb"}, {"Exclusive", "false"}}));
        const Strings expectedRun = parameter ? Strings{"ZeigeAnrufer", "(012) 456789", "67890"}
                                              : Strings{"ZeigeAnrufer", "(012) 456789"};
        EXPECT_EQ(calls[1].positional, expectedRun);
        EXPECT_TRUE(calls[1].named.empty());
        EXPECT_TRUE(calls[2].positional.empty());
        EXPECT_TRUE(calls[2].named.empty());
        EXPECT_EQ(server.log->released, 1);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_TRUE(launcher.started.empty());
    }
}

TEST_F(DatabaseCallTest, TheProcedureReceivesReducedNumbers) {
    options.Formatierung = true;
    options.Parameter = true;
    call = {"(0) 1 2-3", "(6) 7"};
    press();
    EXPECT_EQ(server.log->calls.at(1).positional, (Strings{"ZeigeAnrufer", "012-3", "67"}));
}

TEST_F(DatabaseCallTest, TextsWrittenBackReplaceTheStoredOnes) {
    options.Parameter = true;
    server.writeBack = [](const std::string& member, std::vector<std::string*>& references) {
        for (auto* text : references) {
            *text = member + ":" + *text;
        }
    };
    press();
    EXPECT_EQ(options.Database, "OpenCurrentDatabase:C:\\Kunden.mdb");
    EXPECT_EQ(options.Procedure, "Run:ZeigeAnrufer");
    EXPECT_EQ(call, (CallInfo{"Run:(012) 456789", "Run:67890"}));
}

TEST_F(DatabaseCallTest, AFailingStepEndsTheCallWithOneMessage) {
    const struct {
        std::string failingMember;
        Strings reached;
    } cases[] = {
        {"OpenCurrentDatabase", {"OpenCurrentDatabase"}},
        {"Run", {"OpenCurrentDatabase", "Run"}},
        {"Quit", {"OpenCurrentDatabase", "Run", "Quit"}},
    };
    for (const auto& c : cases) {
        server = {};
        messages = {};
        server.failMember[c.failingMember] = Failure{2517, "Prozedur nicht gefunden"};
        press();
        EXPECT_EQ(server.members(1), c.reached);
        EXPECT_EQ(server.log->released, 1);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "Fehler-Nummer 2517\r\n\r\nProzedur nicht gefunden");
    }
}

TEST_F(DatabaseCallTest, NoServerMeans429) {
    server.failCreate = Failure{429, "Objekterstellung durch ActiveX-Komponente nicht möglich"};
    press();
    EXPECT_TRUE(server.log->calls.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Fehler-Nummer 429\r\n\r\nObjekterstellung durch ActiveX-Komponente nicht möglich");
}

TEST_F(DatabaseCallTest, TwoPressesUseTwoObjects) {
    press();
    press();
    EXPECT_EQ(server.log->createdProgIds.size(), 2u);
    EXPECT_EQ(server.members(2), (Strings{"OpenCurrentDatabase", "Run", "Quit"}));
    EXPECT_EQ(server.log->released, 2);
}

TEST_F(DatabaseCallTest, EmptySettingsArePassedOnAsStored) {
    options.Database.clear();
    options.Procedure.clear();
    call = {};
    ASSERT_FALSE(CallDatabaseProcedure(server, options, call));
    EXPECT_EQ(server.log->calls.at(0).named.at("filepath"), "");
    EXPECT_EQ(server.log->calls.at(1).positional, (Strings{"", ""}));
}

}  // namespace
}  // namespace kw
