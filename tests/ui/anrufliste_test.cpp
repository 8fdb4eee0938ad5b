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

// What the window's actions did, in order: "run:<caller>", "copy:<text>".
class FakeClipboard : public platform::Clipboard {
  public:
    explicit FakeClipboard(std::string& done) : done_(done) {}
    bool setText(std::string_view copied) override {
        done_ += "copy:" + std::string(copied);
        return true;
    }

  private:
    std::string& done_;
};

CallEntry Call(std::uint64_t key, std::string caller, CallOutcome outcome) {
    return {.key = key, .time = 1765000000, .caller = caller, .called = "42", .outcome = outcome};
}

// A list of three calls, the newest without a number, with its window and desktop.
struct Rig {
    Rig() {
        EXPECT_EQ(log.add(Call(1, "030 1", CallOutcome::Answered)), "");
        EXPECT_EQ(log.add(Call(2, "<b>x</b>", CallOutcome::Missed)), "");
        EXPECT_EQ(log.add(Call(3, "", CallOutcome::Missed)), "");
    }
    std::string callers() const {
        std::string shown;
        for (const CallListRow& row : view.rows) {
            shown += row[1] + "|";
        }
        return shown;
    }

    test::MemoryCallListFile file;
    CallLog log{file};
    test::FakeSettingsStore store;
    test::FakeMessageBox messages;
    test::FakeFileDialog files;
    std::string done;
    FakeClipboard clipboard{done};
    AnruflistePlatform platform{log,
                                store,
                                messages,
                                files,
                                clipboard,
                                [this](std::string_view caller, std::string_view called) {
                                    done +=
                                        "run:" + std::string(caller) + "->" + std::string(called);
                                }};
    FakeAnruflisteView view;
    Anrufliste presenter{view, platform};
};

TEST(Anrufliste, EachActionWorksOnTheSelectedShownCalls) {
    struct Case {
        const char* what;
        bool missedOnly;
        std::vector<std::size_t> selection;
        void (Anrufliste::*action)();
        bool yes;
        const char* shownAfter;  // unfiltered
        const char* done;
    };
    using A = Anrufliste;
    const char* all = "|<b>x</b>|030 1|";
    const Case cases[] = {
        {"run the top one of several", false, {2, 1}, &A::runClicked, 0, all, "run:<b>x</b>->42"},
        {"run in the filtered list", true, {1}, &A::runClicked, 0, all, "run:<b>x</b>->42"},
        {"run with nothing selected", false, {}, &A::runClicked, 0, all, ""},
        {"a row past the end", false, {7}, &A::runClicked, 0, all, ""},
        {"copy the number", false, {2}, &A::copyClicked, 0, all, "copy:030 1"},
        {"no number to copy", false, {0}, &A::copyClicked, 0, all, ""},
        {"delete two", false, {0, 2}, &A::deleteClicked, 0, "<b>x</b>|", ""},
        {"delete in the filtered list", true, {1}, &A::deleteClicked, 0, "|030 1|", ""},
        {"clear, answered no", false, {}, &A::clearClicked, 0, all, ""},
        {"clear, answered yes", false, {}, &A::clearClicked, 1, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        rig.view.missedOnly = c.missedOnly;
        rig.presenter.load();
        rig.view.selection = c.selection;
        rig.messages.answer = c.yes ? platform::MessageAnswer::Yes : platform::MessageAnswer::No;
        (rig.presenter.*c.action)();
        rig.view.missedOnly = false;
        rig.presenter.filterClicked();
        EXPECT_EQ(rig.callers(), c.shownAfter);
        EXPECT_EQ(rig.done, c.done);
        // What the window shows is what the file keeps.
        EXPECT_EQ(rig.log.entries().size(), ReadCallList(rig.file.bytes).entries.size());
    }
}

TEST(Anrufliste, OpeningMarksTheMissedCallsSeenAndADamagedMarkHidesNone) {
    Rig rig;
    rig.store.values[{"Klingelwart", "Anrufliste", "Gesehen"}] = "-1x";
    EXPECT_EQ(UnseenMissedCalls(rig.log, rig.store), 2u);
    rig.presenter.load();
    EXPECT_EQ(UnseenMissedCalls(rig.log, rig.store), 0u);
    ASSERT_EQ(rig.log.add(Call(4, "1", CallOutcome::Missed)), "");
    EXPECT_EQ(UnseenMissedCalls(rig.log, rig.store), 1u);
}

TEST(Anrufliste, ExportWritesTheShownRowsOrSaysWhyNot) {
    Rig rig;
    const auto dir = std::filesystem::temp_directory_path() / "kw_anrufliste_test";
    std::filesystem::create_directories(dir);
    const std::string target = (dir / "export.csv").string();
    const std::pair<std::string, std::size_t> cases[] = {
        {target, 0}, {"", 0}, {(dir / "nicht-da" / "x.csv").string(), 1}};
    rig.view.missedOnly = true;
    rig.presenter.load();
    for (const auto& [chosen, complaints] : cases) {
        SCOPED_TRACE(chosen);
        std::filesystem::remove(target);
        rig.messages.shown.clear();
        rig.files.chosen = chosen;
        rig.files.cancel = chosen.empty();
        rig.presenter.exportClicked();
        ASSERT_EQ(rig.messages.shown.size(), complaints);
        EXPECT_EQ(std::filesystem::exists(target), chosen == target);
    }
    EXPECT_EQ(rig.messages.shown[0].text.find(anrufliste::kExportFailed), 0u);
    rig.files.cancel = false;
    rig.files.chosen = target;
    rig.presenter.exportClicked();
    std::stringstream written;
    {
        // Closed before the directory goes: Windows removes no open file.
        std::ifstream in(target, std::ios::binary);
        written << in.rdbuf();
    }
    EXPECT_EQ(written.str(), CallListCsv(rig.view.rows));
    std::filesystem::remove_all(dir);
}

TEST(Anrufliste, AFullDiskLeavesTheCallsAndSaysSo) {
    Rig rig;
    rig.presenter.load();
    rig.view.selection = {0};
    rig.file.full = true;
    rig.presenter.deleteClicked();
    EXPECT_EQ(rig.view.rows.size(), 3u);
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].icon, platform::MessageIcon::Critical);
}

}  // namespace
}  // namespace kw::ui
