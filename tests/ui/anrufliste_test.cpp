#include "ui/anrufliste.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/call_list_csv.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "tests/support/memory_call_list_file.h"
#include "ui/anrufliste_layout.h"

namespace kw::ui {
namespace {

class FakeAnruflisteView : public AnruflisteView {
  public:
    void showRows(const std::vector<CallListRow>& shown) override { rows = shown; }
    std::vector<std::size_t> selectedRows() override { return selection; }
    bool onlyMissed() override { return missedOnly; }
    void close() override { closed = true; }

    std::vector<CallListRow> rows;
    std::vector<std::size_t> selection;
    bool missedOnly = false;
    bool closed = false;
};

class FakeClipboard : public platform::Clipboard {
  public:
    bool setText(std::string_view copied) override {
        text = copied;
        return true;
    }
    std::string text;
};

CallEntry Call(std::uint64_t key, std::string caller, CallOutcome outcome) {
    return {.key = key, .time = 1765000000, .caller = caller, .called = "42", .outcome = outcome};
}

std::string Callers(const std::vector<CallListRow>& rows) {
    std::string callers;
    for (const CallListRow& row : rows) {
        callers += row[1] + "|";
    }
    return callers;
}

// A list of three calls with its window and desktop.
struct Rig {
    Rig() {
        EXPECT_EQ(log.add(Call(1, "030 1", CallOutcome::Answered)), "");
        EXPECT_EQ(log.add(Call(2, "<b>x</b>", CallOutcome::Missed)), "");
        EXPECT_EQ(log.add(Call(3, "", CallOutcome::Missed)), "");
    }

    test::MemoryCallListFile file;
    CallLog log{file};
    test::FakeSettingsStore store;
    test::FakeMessageBox messages;
    test::FakeFileDialog files;
    FakeClipboard clipboard;
    std::string ran;
    AnruflistePlatform platform{log,
                                store,
                                messages,
                                files,
                                clipboard,
                                [this](std::string_view caller, std::string_view called) {
                                    ran = std::string(caller) + "->" + std::string(called);
                                }};
    FakeAnruflisteView view;
    Anrufliste presenter{view, platform};
};

class AnruflisteTest : public testing::Test, public Rig {};

TEST_F(AnruflisteTest, EachActionWorksOnTheSelectedShownCalls) {
    struct Case {
        const char* what;
        bool missedOnly;
        std::vector<std::size_t> selection;
        void (Anrufliste::*action)();
        platform::MessageAnswer answer;
        const char* shownAfter;
        const char* ran;
        const char* copied;
    };
    using A = Anrufliste;
    constexpr auto yes = platform::MessageAnswer::Yes;
    constexpr auto no = platform::MessageAnswer::No;
    const Case cases[] = {
        {"run the top one of several",
         false,
         {2, 1},
         &A::runClicked,
         no,
         "|<b>x</b>|030 1|",
         "<b>x</b>->42",
         ""},
        {"run in the filtered list",
         true,
         {1},
         &A::runClicked,
         no,
         "|<b>x</b>|030 1|",
         "<b>x</b>->42",
         ""},
        {"run with nothing selected", false, {}, &A::runClicked, no, "|<b>x</b>|030 1|", "", ""},
        {"a row past the end is ignored",
         false,
         {7},
         &A::runClicked,
         no,
         "|<b>x</b>|030 1|",
         "",
         ""},
        {"copy the number", false, {2}, &A::copyClicked, no, "|<b>x</b>|030 1|", "", "030 1"},
        {"no number, nothing copied", false, {0}, &A::copyClicked, no, "|<b>x</b>|030 1|", "", ""},
        {"delete two", false, {0, 2}, &A::deleteClicked, no, "<b>x</b>|", "", ""},
        {"delete in the filtered list", true, {1}, &A::deleteClicked, no, "|030 1|", "", ""},
        {"clear, answered no", false, {}, &A::clearClicked, no, "|<b>x</b>|030 1|", "", ""},
        {"clear, answered yes", false, {}, &A::clearClicked, yes, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig fresh;
        fresh.view.missedOnly = c.missedOnly;
        fresh.presenter.load();
        fresh.view.selection = c.selection;
        fresh.messages.answer = c.answer;
        (fresh.presenter.*c.action)();
        fresh.view.missedOnly = false;
        fresh.presenter.filterClicked();
        EXPECT_EQ(Callers(fresh.view.rows), c.shownAfter);
        EXPECT_EQ(fresh.ran, c.ran);
        EXPECT_EQ(fresh.clipboard.text, c.copied);
        // What the window shows is what the file keeps.
        EXPECT_EQ(fresh.log.entries().size(), ReadCallList(fresh.file.bytes).entries.size());
    }
}

TEST_F(AnruflisteTest, OpeningMarksTheMissedCallsSeenAndADamagedMarkHidesNone) {
    store.values[{"Klingelwart", "Anrufliste", "Gesehen"}] = "-1x";
    EXPECT_EQ(UnseenMissedCalls(log, store), 2u);
    presenter.load();
    EXPECT_EQ(UnseenMissedCalls(log, store), 0u);
    ASSERT_EQ(log.add(Call(4, "1", CallOutcome::Missed)), "");
    EXPECT_EQ(UnseenMissedCalls(log, store), 1u);
}

TEST_F(AnruflisteTest, ExportWritesTheShownRowsOrSaysWhyNot) {
    const auto dir = std::filesystem::temp_directory_path() / "kw_anrufliste_test";
    std::filesystem::create_directories(dir);
    const std::string target = (dir / "export.csv").string();
    struct Case {
        const char* what;
        std::string chosen;
        bool cancel;
        std::size_t messages;
    };
    const Case cases[] = {
        {"written", target, false, 0},
        {"cancelled", "", true, 0},
        {"no such directory", (dir / "nicht-da" / "x.csv").string(), false, 1},
    };
    view.missedOnly = true;
    presenter.load();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(target);
        messages.shown.clear();
        files.chosen = c.chosen;
        files.cancel = c.cancel;
        presenter.exportClicked();
        ASSERT_EQ(messages.shown.size(), c.messages);
        EXPECT_EQ(std::filesystem::exists(target), c.what == std::string("written"));
    }
    EXPECT_EQ(messages.shown[0].text.find(anrufliste::kExportFailed), 0u);
    files.cancel = false;
    files.chosen = target;
    presenter.exportClicked();
    std::ifstream in(target, std::ios::binary);
    std::stringstream written;
    written << in.rdbuf();
    EXPECT_EQ(written.str(), CallListCsv(view.rows));
    std::filesystem::remove_all(dir);
}

TEST_F(AnruflisteTest, AFullDiskLeavesTheCallsAndSaysSo) {
    presenter.load();
    view.selection = {0};
    file.full = true;
    presenter.deleteClicked();
    EXPECT_EQ(view.rows.size(), 3u);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].icon, platform::MessageIcon::Critical);
}

}  // namespace
}  // namespace kw::ui
