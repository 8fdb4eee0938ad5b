#include "ui/optionen.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "core/error_numbers.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"

namespace kw::ui {
namespace {

using platform::MessageIcon;
using Keys = std::vector<std::string>;

class FakeOptionenView : public OptionenView {
  public:
    std::string text(OptionenText box) override { return texts[box]; }
    void setText(OptionenText box, std::string_view text) override { texts[box] = text; }
    void focus(OptionenText box) override { focused.push_back(box); }
    OptionenTab currentTab() override { return tab; }
    void showTab(OptionenTab shown) override { tab = shown; }
    std::optional<int> choice(OptionGroup group) override { return slot(group); }
    void setChoice(OptionGroup group, std::optional<int> value) override {
        // As a real group: only a value one of its buttons has is shown.
        slot(group).reset();
        for (const auto& option : OptionsOf(group)) {
            if (option.value == value) {
                slot(group) = value;
            }
        }
    }
    void close() override { ++closed; }

    std::map<OptionenText, std::string> texts;
    std::vector<OptionenText> focused;
    OptionenTab tab = OptionenTab::Datenbank;
    std::optional<int> parameter;
    std::optional<int> start;
    std::optional<int> format;
    int closed = 0;

  private:
    std::optional<int>& slot(OptionGroup group) {
        switch (group) {
            case OptionGroup::Parameter:
                return parameter;
            case OptionGroup::Start:
                return start;
            case OptionGroup::Format:
                break;
        }
        return format;
    }
};

class OptionenTest : public testing::Test {
  protected:
    std::string stored(std::string_view key) {
        return store.read(kApplicationName, kOptionsSection, key);
    }
    std::string onlyMessageText() {
        EXPECT_EQ(messages.shown.size(), 1u);
        return messages.shown.empty() ? std::string() : messages.shown[0].text;
    }

    FakeOptionenView view;
    AppOptions options;
    test::FakeSettingsStore store;
    test::FakeMessageBox messages;
    test::FakeFileSearch files;
    test::FakeFileDialog fileDialog;
    OptionenPlatform platform{store, messages, files, fileDialog};
    Optionen dialog{view, options, platform};
};

TEST_F(OptionenTest, AnEmptyStoreOpensOnTheShellPageWithNoStartChoice) {
    dialog.load();
    EXPECT_EQ(view.tab, OptionenTab::Shell);
    EXPECT_EQ(view.texts[OptionenText::Db], "");
    EXPECT_EQ(view.texts[OptionenText::Proc], "");
    EXPECT_EQ(view.texts[OptionenText::Shell], "");
    EXPECT_EQ(view.parameter, 0);
    EXPECT_EQ(view.start, std::nullopt);
    EXPECT_EQ(view.format, 0);
}

TEST_F(OptionenTest, LoadShowsEveryStoredOption) {
    struct Case {
        const char* start;
        std::optional<int> choice;
    };
    for (const auto& c : {Case{"1", 1}, Case{"2", 2}, Case{"3", 3}, Case{"0", std::nullopt},
                          Case{"4", std::nullopt}}) {
        store.set("DoJob", "0");
        store.set("Database", " C:\\db\\kunden.mdb ");
        store.set("Procedure", "ZeigeAnrufer");
        store.set("Shell", "firefox {AnrufNummer}");
        store.set("Parameter", "1");
        store.set("Start", c.start);
        store.set("Formatierung", "1");
        options = {};
        view.start = std::nullopt;
        dialog.load();
        EXPECT_EQ(view.tab, OptionenTab::Datenbank);
        EXPECT_EQ(view.texts[OptionenText::Db], " C:\\db\\kunden.mdb ");
        EXPECT_EQ(view.texts[OptionenText::Proc], "ZeigeAnrufer");
        EXPECT_EQ(view.texts[OptionenText::Shell], "firefox {AnrufNummer}");
        EXPECT_EQ(view.parameter, 1);
        EXPECT_EQ(view.start, c.choice);
        EXPECT_EQ(view.format, 1);
    }
}

TEST_F(OptionenTest, OkOnTheDatabasePageStoresEveryKeyInOrderAndCloses) {
    view.tab = OptionenTab::Datenbank;
    view.texts = {{OptionenText::Db, "C:\\db\\*.mdb"},
                  {OptionenText::Proc, " "},
                  {OptionenText::Shell, "wird verworfen"}};
    view.parameter = 1;
    view.start = 2;
    view.format = 1;
    dialog.okClicked();

    EXPECT_EQ(store.writtenKeys, (Keys{"DoJob", "Database", "Procedure", "Shell", "Parameter",
                                       "Start", "Formatierung"}));
    EXPECT_EQ(store.batches, 1u) << "one write for the whole dialog";
    EXPECT_EQ(files.searched, Keys{"C:\\db\\*.mdb"});
    EXPECT_EQ(options, (AppOptions{.DoJob = false,
                                   .Formatierung = true,
                                   .Start = 2,
                                   .Parameter = true,
                                   .Database = "C:\\db\\*.mdb",
                                   .Procedure = " ",
                                   .Shell = ""}));
    EXPECT_EQ(view.closed, 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OptionenTest, OkOnTheShellPageClearsTheDatabaseKeys) {
    store.set("Database", "alt.mdb");
    store.set("Procedure", "Alt");
    view.tab = OptionenTab::Shell;
    view.texts = {{OptionenText::Db, "neu.mdb"},
                  {OptionenText::Proc, "Neu"},
                  {OptionenText::Shell, "x {MSN}"}};
    view.parameter = 1;
    view.format = 0;
    dialog.okClicked();

    EXPECT_EQ(store.writtenKeys, (Keys{"DoJob", "Database", "Procedure", "Shell", "Parameter",
                                       "Start", "Formatierung"}));
    EXPECT_TRUE(files.searched.empty());
    EXPECT_EQ(stored("DoJob"), "1");
    EXPECT_EQ(stored("Database"), "");
    EXPECT_EQ(stored("Procedure"), "");
    EXPECT_EQ(stored("Shell"), "x {MSN}");
    EXPECT_EQ(stored("Parameter"), "0");
    EXPECT_EQ(stored("Start"), "3");  // nothing chosen counts as "always on top"
    EXPECT_EQ(stored("Formatierung"), "0");
    EXPECT_EQ(view.closed, 1);
}

TEST_F(OptionenTest, StartChoiceIsStoredAsItsNumber) {
    struct Case {
        std::optional<int> choice;
        const char* value;
    };
    for (const auto& c : {Case{1, "1"}, Case{2, "2"}, Case{3, "3"}, Case{std::nullopt, "3"}}) {
        view.tab = OptionenTab::Shell;
        view.texts[OptionenText::Shell] = "x";
        view.start = c.choice;
        dialog.okClicked();
        EXPECT_EQ(stored("Start"), c.value);
    }
}

// A failed check leaves the new action kind stored, everything else as it was, the options
// not reloaded and the dialog open.
TEST_F(OptionenTest, AFailedCheckStopsAfterStoringTheActionKind) {
    struct Case {
        const char* name;
        OptionenTab tab;
        const char* database;
        bool databaseFound;
        const char* procedure;
        const char* shell;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"no database", OptionenTab::Datenbank, "", true, "", "", "Keine Datenbank ausgewählt",
         "Beachten Sie, dass keine Datenbank ausgewählt wurde!"},
        {"database missing", OptionenTab::Datenbank, "C:\\fehlt.mdb", false, "", "",
         "Datenbankpfad existiert nicht",
         "Beachten Sie, dass die Datenbank unter dem ausgewählten Pfad nicht existiert!"},
        {"no procedure", OptionenTab::Datenbank, "C:\\da.mdb", true, "", "x",
         "Keine Prozedur ausgewählt",
         "Beachten Sie, dass Sie keine Prozedur innerhalb der Datenbank ausgewählt haben!"},
        {"no shell command", OptionenTab::Shell, "C:\\da.mdb", true, "P", "",
         "Kein Shell-Befehl eingegeben",
         "Beachten Sie, dass Sie keine Shell-Anweisung eingegeben haben!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        store = {};
        store.set("DoJob", c.tab == OptionenTab::Shell ? "0" : "1");
        store.set("Database", "alt.mdb");
        store.set("Start", "2");
        messages.shown.clear();
        options = {};
        view.closed = 0;
        view.tab = c.tab;
        view.texts = {{OptionenText::Db, c.database},
                      {OptionenText::Proc, c.procedure},
                      {OptionenText::Shell, c.shell}};
        files.found = c.databaseFound;
        dialog.okClicked();

        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].title, c.title);
        EXPECT_EQ(messages.shown[0].text, c.text);
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
        EXPECT_EQ(store.writtenKeys, Keys{"DoJob"});
        EXPECT_EQ(stored("DoJob"), c.tab == OptionenTab::Shell ? "1" : "0");
        EXPECT_EQ(stored("Database"), "alt.mdb");
        EXPECT_EQ(stored("Start"), "2");
        EXPECT_EQ(options, AppOptions{});
        EXPECT_EQ(view.closed, 0);
    }
}

TEST_F(OptionenTest, APathTheFileSystemRejectsIsReportedAndTheDialogStaysOpen) {
    view.tab = OptionenTab::Datenbank;
    view.texts = {{OptionenText::Db, "C:\\<>|.mdb"}, {OptionenText::Proc, "P"}};
    files.failure = MakeFailure(error::kPathNotFound);
    dialog.okClicked();
    const std::string text = onlyMessageText();
    EXPECT_EQ(text.find("Der Datenbankpfad kann nicht geprüft werden."), 0u);
    EXPECT_NE(text.find(MakeFailure(error::kPathNotFound).description), std::string::npos);
    EXPECT_EQ(store.writtenKeys, Keys{"DoJob"});
    EXPECT_EQ(view.closed, 0);
}

TEST_F(OptionenTest, AStoreThatRefusesWritesIsReportedOnceAndTheDialogStaysOpen) {
    store.set("Shell", "alt");
    store.failWrites = Failure{70, "Zugriff verweigert"};
    dialog.load();
    view.texts[OptionenText::Shell] = "neu";
    dialog.okClicked();
    const std::string text = onlyMessageText();
    EXPECT_NE(text.find("Zugriff verweigert"), std::string::npos);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(stored("Shell"), "alt");
    EXPECT_EQ(options.Shell, "alt");
    EXPECT_EQ(view.closed, 0);
}

TEST_F(OptionenTest, AStoreFailingMidwayLeavesEveryOptionAsItWas) {
    for (const std::size_t failing : {2u, 5u, 7u}) {
        SCOPED_TRACE(failing);
        store = {};
        store.set("DoJob", "1");
        store.set("Shell", "alt");
        store.set("Start", "2");
        const auto before = store.values;
        messages.shown.clear();
        view.closed = 0;
        view.tab = OptionenTab::Shell;
        view.texts = {{OptionenText::Shell, "neu"}};
        view.start = 1;
        store.failAtKey = failing;
        dialog.okClicked();
        EXPECT_EQ(store.values, before);
        EXPECT_NE(onlyMessageText().find("Schreibfehler mittendrin"), std::string::npos);
        EXPECT_EQ(view.closed, 0);
    }
}

TEST_F(OptionenTest, CancelClosesWithoutWriting) {
    store.set("Shell", "alt");
    dialog.load();
    view.texts[OptionenText::Shell] = "neu";
    dialog.cancelClicked();
    EXPECT_TRUE(store.writtenKeys.empty());
    EXPECT_EQ(options.Shell, "alt");
    EXPECT_EQ(view.closed, 1);
}

TEST_F(OptionenTest, PlaceholderButtonsAppendAtTheEndAndFocusTheTemplate) {
    view.texts[OptionenText::Shell] = "suche ";
    dialog.anruferClicked();
    dialog.anruferClicked();
    dialog.msnClicked();
    EXPECT_EQ(view.texts[OptionenText::Shell], "suche {AnrufNummer}{AnrufNummer}{MSN}");
    EXPECT_EQ(view.focused, (std::vector<OptionenText>(3, OptionenText::Shell)));
}

TEST(ShellExampleTest, ShowsTheTemplateFilledWithTheExampleNumbers) {
    const std::string header =
        "Anrufer             : (012) 456789\r\nangerufene Nr.: 67890\r\n\r\n";
    struct Case {
        const char* shell;
        bool digitsOnly;
        const char* filled;
    };
    const Case cases[] = {
        {"a {AnrufNummer} b {MSN}", true, "a 012456789 b 67890"},
        {"a {AnrufNummer} b {MSN}", false, "a (012) 456789 b 67890"},
        {"{anrufnummer} {Msn} {MSN}{MSN}", false, "{anrufnummer} {Msn} 6789067890"},
        {"{Anruf{MSN}Nummer}", false, "{Anruf67890Nummer}"},
        {"", true, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShellExample(c.shell, c.digitsOnly), header + c.filled);
    }
}

TEST_F(OptionenTest, TheExampleFollowsTheFormatShownNotTheStoredOne) {
    store.set("Formatierung", "0");
    dialog.load();
    view.texts[OptionenText::Shell] = "{AnrufNummer}";
    view.format = 1;
    dialog.showShellClicked();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Test-Anzeige");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(messages.shown[0].text, ShellExample("{AnrufNummer}", true));
}

TEST_F(OptionenTest, FileSelectionPutsTheDialogsAnswerIntoThePath) {
    struct Case {
        const char* name;
        bool cancel;
        bool fails;
        const char* path;
    };
    const Case cases[] = {
        {"chosen", false, false, "/daten/kunden.mdb"},
        {"cancelled", true, false, "*.mdb"},
        {"dialog failed", false, true, "vorher.mdb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view.texts[OptionenText::Db] = "vorher.mdb";
        view.focused.clear();
        fileDialog.cancel = c.cancel;
        fileDialog.failure = c.fails ? MaybeFailure(Failure{5, "x"}) : std::nullopt;
        dialog.fileSelectClicked();
        EXPECT_EQ(fileDialog.shownWith, (Keys{"Access Datenbank auswählen", "*.mdb", "*.mdb"}));
        EXPECT_EQ(view.texts[OptionenText::Db], c.path);
        EXPECT_EQ(view.focused, std::vector<OptionenText>{OptionenText::Db});
        EXPECT_TRUE(messages.shown.empty());
    }
}

}  // namespace
}  // namespace kw::ui
