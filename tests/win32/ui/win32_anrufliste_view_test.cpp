// The call list window run modally under Wine: plain texts, the filter, the keys, the clipboard.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_clipboard.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "tests/support/memory_call_list_file.h"
#include "tests/win32/ui/dialog_script.h"
#include "ui/anrufliste.h"
#include "ui/anrufliste_layout.h"
#include "ui/win32/win32_anrufliste_view.h"

#include <commctrl.h>

namespace kw::winui {
namespace {

namespace layout = ui::anrufliste;
using test::DialogScript;

constexpr const char* kForged = "&Chef\t<b>x</b>";

struct AnruflisteRig {
    kw::test::MemoryCallListFile file;
    CallLog log{file};
    kw::test::FakeSettingsStore store;
    kw::test::FakeMessageBox messages;
    kw::test::FakeFileDialog files;
    HWND open = nullptr;
    win32::Win32Clipboard clipboard{[this] { return open; }};
    std::string ran;
    ui::AnruflistePlatform platform{log,
                                    store,
                                    messages,
                                    files,
                                    clipboard,
                                    [this](std::string_view caller, std::string_view) {
                                        ran += std::string(caller) + "|"; }};
    Win32AnruflisteView view;
    ui::Anrufliste presenter{view, platform};

    AnruflisteRig() {
        log.add({.key = 1, .caller = "030 1", .outcome = CallOutcome::Missed});
        log.add({.key = 2, .caller = kForged, .outcome = CallOutcome::Answered});
    }
    void run(DialogScript& script) {
        view.run(nullptr, [&](HWND dialog) {
            open = dialog;
            script.attach(dialog);
            return &presenter;
        });
    }
};

constexpr int kList = ui::RowOf(layout::kControls, layout::kList).id;
constexpr int kOnlyMissed = ui::RowOf(layout::kControls, layout::kOnlyMissed).id;

std::string CellText(HWND list, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return win32::WideToUtf8(text);
}

TEST(Win32AnruflisteView, PlainTextsFilterKeysAndClipboard) {
    AnruflisteRig rig;
    DialogScript script({
        [&](HWND dialog) {
            HWND list = GetDlgItem(dialog, kList);
            EXPECT_EQ(GetFocus(), list);
            EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
            EXPECT_EQ(CellText(list, 0, 1), kForged);
            EXPECT_EQ(CellText(list, 0, 4), "angenommen");
            test::Click(dialog, ui::RowOf(layout::kControls, layout::kCopy).id);
            PostMessageW(list, WM_KEYDOWN, VK_RETURN, 1);
        },
        [&](HWND dialog) {
            EXPECT_EQ(rig.ran, std::string(kForged) + "|");
            HWND box = GetDlgItem(dialog, kOnlyMissed);
            SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
            test::Click(dialog, kOnlyMissed);
            HWND list = GetDlgItem(dialog, kList);
            EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
            EXPECT_EQ(CellText(list, 0, 1), "030 1");
            PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 1);
        },
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
    EXPECT_FALSE(script.forced()) << "Esc closes";
    ASSERT_TRUE(OpenClipboard(nullptr));
    const auto* copied = static_cast<const wchar_t*>(GetClipboardData(CF_UNICODETEXT));
    EXPECT_EQ(copied != nullptr ? win32::WideToUtf8(copied) : "", kForged);
    CloseClipboard();
}

}  // namespace
}  // namespace kw::winui
