// What can be shown of the window, help, message box and file dialog backends without a user:
// Wine runs with its null graphics driver here, so nothing modal may open.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/html_help_viewer.h"
#include "platform/win32/win32_file_dialog.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_window_manager.h"
#include "platform/win32/windows_api.h"
#include "tests/win32/hidden_window.h"

namespace kw::win32 {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using test::HiddenWindow;

bool IsTopmost(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

RECT NormalPlace(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    return placement.rcNormalPosition;
}

bool SamePlace(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(Win32WindowManager, KeepsOnTopAndBackWithoutMovingOrResizing) {
    const HiddenWindow window;
    ASSERT_NE(window.get(), nullptr);
    const RECT before = NormalPlace(window.get());
    Win32WindowManager manager(window.get());

    manager.setKeepOnTop(true);
    EXPECT_TRUE(IsTopmost(window.get()));
    EXPECT_TRUE(SamePlace(NormalPlace(window.get()), before));

    manager.setKeepOnTop(false);
    EXPECT_FALSE(IsTopmost(window.get()));
    EXPECT_TRUE(SamePlace(NormalPlace(window.get()), before));
}

TEST(Win32WindowManager, MinimizesAndRestores) {
    const HiddenWindow window;
    ASSERT_NE(window.get(), nullptr);
    const RECT before = NormalPlace(window.get());
    Win32WindowManager manager(window.get());

    manager.minimize();
    EXPECT_TRUE(IsIconic(window.get()));
    manager.setKeepOnTop(false);  // start mode 2: not on top, then back to normal
    manager.restore();
    EXPECT_FALSE(IsIconic(window.get()));
    EXPECT_TRUE(IsWindowVisible(window.get()));
    EXPECT_FALSE(IsTopmost(window.get()));
    EXPECT_TRUE(SamePlace(NormalPlace(window.get()), before));
}

TEST(HtmlHelpViewer, MissingHelpFileIsQuietlyIgnored) {
    const HiddenWindow window;
    {
        HtmlHelpViewer viewer(window.get());
        viewer.open("C:\\gibt es nicht\\KLINGELWART2.chm");
        viewer.open("");
        EXPECT_TRUE(viewer.loaded()) << "hhctrl.ocx is part of the system";
    }
    HtmlHelpViewer unowned;
    unowned.open("C:\\gibt es nicht\\KLINGELWART2.chm");
}

TEST(Win32MessageBox, StylesFollowIconButtonsAndOwner) {
    EXPECT_EQ(Win32MessageBox::style(MessageIcon::Critical, MessageButtons::Ok, false),
              static_cast<UINT>(MB_TASKMODAL | MB_ICONSTOP | MB_OK));
    EXPECT_EQ(Win32MessageBox::style(MessageIcon::Question, MessageButtons::YesNo, true),
              static_cast<UINT>(MB_APPLMODAL | MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON1));
    EXPECT_EQ(Win32MessageBox::style(MessageIcon::Information, MessageButtons::Ok, true),
              static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
    EXPECT_EQ(Win32MessageBox::style(MessageIcon::None, MessageButtons::Ok, false),
              static_cast<UINT>(MB_TASKMODAL | MB_OK));
}

TEST(Win32MessageBox, AnswersMapAndFailuresFallBack) {
    EXPECT_EQ(Win32MessageBox::answer(IDOK, MessageButtons::Ok), MessageAnswer::Ok);
    EXPECT_EQ(Win32MessageBox::answer(IDYES, MessageButtons::YesNo), MessageAnswer::Yes);
    EXPECT_EQ(Win32MessageBox::answer(IDNO, MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(Win32MessageBox::answer(0, MessageButtons::Ok), MessageAnswer::Ok);
    EXPECT_EQ(Win32MessageBox::answer(0, MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(Win32MessageBox::answer(IDCANCEL, MessageButtons::YesNo), MessageAnswer::No);
}

TEST(Win32FileDialog, FilterPairsThePatternWithItself) {
    EXPECT_EQ(Win32FileDialog::filterText("*.mdb"), std::wstring(L"*.mdb\0*.mdb\0\0", 13));
    EXPECT_EQ(Win32FileDialog::filterText(""), L"");
}

}  // namespace
}  // namespace kw::win32
