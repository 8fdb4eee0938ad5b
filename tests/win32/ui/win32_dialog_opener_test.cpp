// The opener runs each dialog modally, owned by the main window, with a fresh presenter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_options.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "ui/win32/win32_dialog_opener.h"
#include "ui/win32/window_text.h"

namespace kw::winui {
namespace {

constexpr wchar_t kSeenProperty[] = L"Klingelwart.Test.SeenDialogs";

struct SeenDialog {
    std::wstring caption;
    bool ownerDisabled;
    bool onTop;
};

struct Seen {
    const Win32DialogOpener* opener = nullptr;
    std::vector<SeenDialog> dialogs;
};

// Notes every dialog that its owner's property asks for, once it is initialised, and cancels it.
LRESULT CALLBACK NoteAndCancel(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG) {
        HWND owner = GetWindow(call->hwnd, GW_OWNER);
        if (auto* seen = static_cast<Seen*>(GetPropW(owner, kSeenProperty))) {
            seen->dialogs.push_back({WindowText(call->hwnd), IsWindowEnabled(owner) == FALSE,
                                     seen->opener->topWindow() == call->hwnd});
            PostMessageW(call->hwnd, WM_COMMAND, IDCANCEL, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Win32DialogOpener, OpensEachDialogOwnedByTheMainWindowAndReturnsWhenItCloses) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"Hauptfenster", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    Seen seen;
    SetPropW(owner, kSeenProperty, &seen);
    HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROCRET, &NoteAndCancel, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);

    kw::test::FakeSettingsStore store;
    kw::test::FakeMessageBox messages;
    kw::test::FakeFileSearch files;
    kw::test::FakeFileDialog fileDialog;
    kw::test::FakeProgramInfo program;
    ui::OptionenPlatform platform{store, messages, files, fileDialog};
    AppOptions options;
    ui::AnrufquellenPlatform sources{store, messages, {}, {}, nullptr};
    int asked = 0;
    Win32DialogOpener opener(
        [&] {
            ++asked;
            return owner;
        },
        options, platform, program, &sources);
    seen.opener = &opener;
    EXPECT_EQ(opener.topWindow(), owner);
    opener.openInfo();
    opener.openOptionen();
    opener.openInfo();  // a fresh dialog each time
    opener.openAnrufquellen();

    UnhookWindowsHookEx(hook);
    RemovePropW(owner, kSeenProperty);
    ASSERT_EQ(seen.dialogs.size(), 4u);
    EXPECT_EQ(seen.dialogs[0].caption, L"Info zu Klingelwart");
    EXPECT_EQ(seen.dialogs[1].caption, L"Optionen");
    EXPECT_EQ(seen.dialogs[2].caption, L"Info zu Klingelwart");
    EXPECT_EQ(seen.dialogs[3].caption, L"Anrufquellen");
    for (const SeenDialog& dialog : seen.dialogs) {
        EXPECT_TRUE(dialog.ownerDisabled) << "modal to the main window";
        EXPECT_TRUE(dialog.onTop) << "message boxes go on the open dialog";
    }
    EXPECT_EQ(asked, 1 + 4);  // topWindow() with no dialog open asks too
    EXPECT_EQ(opener.topWindow(), owner);
    EXPECT_TRUE(IsWindowEnabled(owner)) << "enabled again afterwards";
    EXPECT_TRUE(store.writtenKeys.empty());
    DestroyWindow(owner);
}

}  // namespace
}  // namespace kw::winui
