// The options dialog of the real program: how it opens, what OK refuses, and what it stores.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "tests/win32/gui/keyboard_input.h"
#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"
#include "tests/win32/gui/process_windows.h"
#include "tests/win32/win32_test_util.h"
#include "ui/win32/control_ids.h"

#include <commctrl.h>

namespace kw::win32::gui {
namespace {

using Values = std::map<std::wstring, std::wstring>;

constexpr wchar_t kCaption[] = L"Optionen";
constexpr int kDatabasePage = 0;
constexpr int kShellPage = 1;

class OptionenDialogTest : public ::testing::Test {
  protected:
    void TearDown() override {
        if (dialog_ != nullptr && IsWindow(dialog_)) {
            PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
            closed();
        }
    }

    // Opens the dialog from the menu of a running program; the registry stays as the test set it.
    void open() {
        session_.emplace();
        ASSERT_TRUE(session_->ready());
        session_->menu("mnuOptionen");
        dialog_ = session_->awaitDialog(kCaption);
        ASSERT_NE(dialog_, nullptr);
    }

    HWND item(std::string_view name) const {
        return FindDescendant(dialog_, winui::ControlId(name));
    }
    int page() const {
        return static_cast<int>(SendMessageW(item("TabDialog"), TCM_GETCURSEL, 0, 0));
    }
    void type(std::string_view name, const std::wstring& text) const {
        SendMessageW(item(name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void click(std::string_view name) const { PostMessageW(item(name), BM_CLICK, 0, 0); }
    // A click on the first tab, which sits at the left edge of the tab strip.
    void showDatabasePage() const {
        const HWND tabs = item("TabDialog");
        PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8));
        PostMessageW(tabs, WM_LBUTTONUP, 0, MAKELPARAM(10, 8));
    }
    bool closed() const {
        return PollUntil([&] { return !IsWindow(dialog_); });
    }
    // The refusal box, answered; the dialog must stay.
    void expectRefusal(const std::wstring& title, const std::wstring& text) const {
        const SeenMessageBox box = session_->awaitMessageBox(title);
        ASSERT_TRUE(box) << "no box titled " << testing::PrintToString(title);
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        EXPECT_EQ(GetWindow(box.window, GW_OWNER), dialog_) << "modal to the dialog, not behind it";
        AnswerMessageBox(box.window, IDOK);
        EXPECT_TRUE(PollUntil([&] { return !IsWindow(box.window); }));
        EXPECT_TRUE(IsWindowVisible(dialog_));
    }

    OptionsRegistry registry_;
    std::optional<KlingelwartSession> session_;
    HWND dialog_ = nullptr;
};

TEST_F(OptionenDialogTest, OpensOnTheShellPageByMenuAndByCtrlO) {
    const KlingelwartSession session;
    ASSERT_TRUE(session.ready());
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Ctrl+O" : "mnuOptionen");
        if (byKey) {
            ASSERT_TRUE(PressKeys(session.mainWindow(), {VK_CONTROL, 'O'}));
        } else {
            session.menu("mnuOptionen");
        }
        const HWND dialog = session.awaitDialog(kCaption);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(SendMessageW(FindDescendant(dialog, winui::ControlId("TabDialog")), TCM_GETCURSEL,
                               0, 0),
                  kShellPage);
        EXPECT_EQ(TextOf(FindDescendant(dialog, winui::ControlId("TXT_Shell"))), L"");
        EXPECT_FALSE(IsWindowEnabled(session.mainWindow())) << "the dialog is modal";
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        EXPECT_TRUE(PollUntil([&] { return !IsWindow(dialog); }));
    }
    EXPECT_EQ(registry_.values(), Values{}) << "Cancel stores nothing";
}

TEST_F(OptionenDialogTest, EmptyTemplateIsRefusedAfterStoringTheActionKind) {
    ASSERT_NO_FATAL_FAILURE(open());
    click("OKButton");
    expectRefusal(L"Kein Shell-Befehl eingegeben",
                  L"Beachten Sie, dass Sie keine Shell-Anweisung eingegeben haben!");
    EXPECT_EQ(registry_.values(), (Values{{L"DoJob", L"1"}}));
}

TEST_F(OptionenDialogTest, OkStoresTheShellPage) {
    ASSERT_NO_FATAL_FAILURE(open());
    const std::wstring shellTemplate = L"\"C:\\Pro gramme\\x.exe\" & {AnrufNummer} \"{MSN}\" ☎";
    type("TXT_Shell", shellTemplate);
    click("OKButton");
    ASSERT_TRUE(closed());
    EXPECT_EQ(registry_.values(), (Values{{L"DoJob", L"1"},
                                          {L"Database", L""},
                                          {L"Procedure", L""},
                                          {L"Shell", shellTemplate},
                                          {L"Parameter", L"0"},
                                          {L"Start", L"3"},
                                          {L"Formatierung", L"0"}}));
    EXPECT_TRUE(IsWindowEnabled(session_->mainWindow()));
}

TEST_F(OptionenDialogTest, MissingDatabaseIsRefusedOnTheDatabasePage) {
    ASSERT_NO_FATAL_FAILURE(open());
    showDatabasePage();
    ASSERT_TRUE(PollUntil([&] { return page() == kDatabasePage; }));
    const test::TempDir dir;
    type("TXT_Db", (dir.path() / L"fehlt.mdb").wstring());
    type("TXT_Proc", L"Anrufer");
    click("OKButton");
    expectRefusal(L"Datenbankpfad existiert nicht",
                  L"Beachten Sie, dass die Datenbank unter dem ausgewählten Pfad nicht existiert!");
    EXPECT_EQ(registry_.values(), (Values{{L"DoJob", L"0"}}));
}

TEST_F(OptionenDialogTest, ShowMinimizedMinimizesTheMainWindow) {
    ASSERT_TRUE(registry_.set(L"Start", L"2"));
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_FALSE(IsIconic(session_->mainWindow()));
    type("TXT_Shell", L"x.exe {AnrufNummer}");
    click("OPT_ShowMinimized");
    ASSERT_TRUE(PollUntil(
        [&] { return SendMessageW(item("OPT_ShowMinimized"), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    click("OKButton");
    ASSERT_TRUE(closed());
    EXPECT_TRUE(PollUntil([&] { return IsIconic(session_->mainWindow()) != FALSE; }));
    EXPECT_EQ(registry_.value(L"Start"), L"1");
}

}  // namespace
}  // namespace kw::win32::gui
