// The helpers every Win32 view builds on: twips, fonts, control styles, creation order, texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/hostile_texts.h"
#include "tests/win32/ui/dialog_script.h"
#include "ui/main_screen_layout.h"
#include "ui/optionen_layout.h"
#include "ui/win32/control_factory.h"
#include "ui/win32/control_fonts.h"
#include "ui/win32/layout_controls.h"
#include "ui/win32/modal_dialog.h"
#include "ui/win32/tooltips.h"
#include "ui/win32/twips.h"
#include "ui/win32/window_text.h"

#include <commctrl.h>

namespace kw::winui {
namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

TEST(Twips, RectanglesRoundEachEdgeSoNeighboursNeitherOverlapNorGap) {
    struct Case {
        ui::TwipsRect twips;
        int dpi;
        POINT origin;
        RECT pixels;
    };
    const Case cases[] = {
        {{120, 120, 5415, 375}, 96, {}, {8, 8, 369, 33}},
        {{120, 120, 5415, 375}, 144, {}, {12, 12, 554, 50}},
        // 7 twips are 0.47 pixels at 96: alone they vanish, yet the edges still meet.
        {{0, 0, 7, 7}, 96, {}, {0, 0, 0, 0}},
        {{7, 0, 8, 15}, 96, {}, {0, 0, 1, 1}},
        // Half a pixel at 144 rounds up, and the neighbour starts exactly there.
        {{0, 0, 5, 5}, 144, {}, {0, 0, 1, 1}},
        {{5, 0, 10, 10}, 144, {}, {1, 0, 2, 1}},
        {{240, 600, 3135, 375}, 96, {24, 56}, {40, 96, 249, 121}},
        {{-150, -15, 30, 30}, 96, {}, {-10, -1, -8, 1}},
    };
    for (const Case& c : cases) {
        const RECT got = TwipsToRect(c.twips, c.dpi, c.origin);
        EXPECT_TRUE(SameRect(got, c.pixels)) << Show(got) << " at " << c.dpi;
    }
    const SIZE client = ClientTwipsToPixels(8400, 7110, 144);
    EXPECT_EQ(client.cx, 840);
    EXPECT_EQ(client.cy, 711);
    EXPECT_EQ(WindowDpi(nullptr), 96);
}

TEST(ControlFonts, HeightsFollowPointsAndDpiAndTheCacheSharesFonts) {
    struct Case {
        double points;
        int dpi;
        LONG height;
    };
    for (const Case& c : {Case{8.25, 96, -11}, Case{8.25, 144, -17}, Case{12, 96, -16},
                          Case{9.75, 120, -16}, Case{12, 144, -24}}) {
        EXPECT_EQ(ControlFonts::height(c.points, c.dpi), c.height) << c.points << " pt";
    }
    ControlFonts fonts;
    const HFONT normal = fonts.get({}, 96);
    ASSERT_NE(normal, nullptr);
    EXPECT_EQ(fonts.get({}, 96), normal);
    EXPECT_NE(fonts.get({.bold = true}, 96), normal);
    EXPECT_NE(fonts.get({}, 144), normal);

    LOGFONTW bold{};
    ASSERT_NE(GetObjectW(fonts.get({.points = 12, .bold = true}, 144), sizeof(bold), &bold), 0);
    EXPECT_EQ(bold.lfHeight, -24);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_STREQ(bold.lfFaceName, L"MS Sans Serif");
}

std::vector<std::string_view> Names(const std::vector<const ui::ControlLayout*>& order) {
    std::vector<std::string_view> names;
    for (const ui::ControlLayout* entry : order) {
        names.push_back(entry->name);
    }
    return names;
}

TEST(ControlFactory, CreationOrderIsTabOrderWithUnorderedControlsLastInTableOrder) {
    const ui::ControlLayout table[] = {
        {.name = "c", .tabIndex = 2}, {.name = "x"}, {.name = "a", .tabIndex = 0}, {.name = "y"},
        {.name = "b", .tabIndex = 1},
    };
    EXPECT_EQ(Names(CreationOrder(table)),
              (std::vector<std::string_view>{"a", "b", "c", "x", "y"}));
    // The main window: the caller line has no tab index and comes after the buttons.
    EXPECT_EQ(Names(CreationOrder(ui::main_screen::kControls)),
              (std::vector<std::string_view>{"BTN_Db", "BTN_End", "LBL_Anrufer", "axPhoner1",
                                             "LBL_Verpasst"}));
}

TEST(ControlFactory, RadioGroupsStartAtTheirFirstButtonAndEndAtTheNextControl) {
    const ui::ControlLayout frameA{.name = "A", .kind = ui::ControlKind::Frame};
    const ui::ControlLayout a1{
        .name = "a1", .kind = ui::ControlKind::OptionButton, .container = "A"};
    const ui::ControlLayout a2{
        .name = "a2", .kind = ui::ControlKind::OptionButton, .container = "A"};
    const ui::ControlLayout b1{
        .name = "b1", .kind = ui::ControlKind::OptionButton, .container = "B"};
    const ui::ControlLayout button{.name = "ok", .kind = ui::ControlKind::Button};
    struct Case {
        const ui::ControlLayout* control;
        const ui::ControlLayout* previous;
        bool starts;
    };
    for (const Case& c : {Case{&a1, nullptr, true}, Case{&a1, &frameA, true}, Case{&a2, &a1, false},
                          Case{&b1, &a2, true}, Case{&button, &a2, true}}) {
        EXPECT_EQ(StartsGroup(*c.control, c.previous), c.starts) << c.control->name;
    }
}

TEST(ControlFactory, StylesPerKind) {
    struct Case {
        ui::ControlLayout layout;
        ControlFlags flags;
        const wchar_t* className;
        DWORD wanted;
        DWORD unwanted;
    };
    const Case cases[] = {
        // The caller line: "&" in caller data must show, and double clicks must arrive.
        {ui::main_screen::kControls[0],
         {.noPrefix = true},
         L"STATIC",
         SS_CENTER | SS_NOPREFIX | SS_NOTIFY | WS_BORDER,
         WS_TABSTOP},
        {{.kind = ui::ControlKind::Label},
         {},
         L"STATIC",
         SS_LEFT | SS_NOTIFY,
         SS_NOPREFIX | WS_BORDER},
        {{.kind = ui::ControlKind::Button, .enabled = false},
         {},
         L"BUTTON",
         WS_TABSTOP | WS_DISABLED | WS_GROUP,
         0},
        {{.kind = ui::ControlKind::TextBox}, {}, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_DISABLED},
        {{.kind = ui::ControlKind::OptionButton},
         {.startsGroup = false},
         L"BUTTON",
         BS_AUTORADIOBUTTON,
         WS_GROUP | WS_TABSTOP},
        {{.kind = ui::ControlKind::OptionButton},
         {},
         L"BUTTON",
         BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP,
         0},
        {{.kind = ui::ControlKind::Picture, .border = true},
         {},
         L"STATIC",
         SS_ICON | SS_CENTERIMAGE | WS_BORDER,
         WS_TABSTOP},
    };
    for (const Case& c : cases) {
        const ControlClass kind = ClassOf(c.layout, c.flags);
        ASSERT_NE(kind.className, nullptr);
        EXPECT_STREQ(kind.className, c.className);
        EXPECT_EQ(kind.style & c.wanted, c.wanted) << std::hex << kind.style;
        EXPECT_EQ(kind.style & c.unwanted, 0u) << std::hex << kind.style;
    }
    EXPECT_EQ(ClassOf({.kind = ui::ControlKind::PhoneControl}, {}).className, nullptr);
}

TEST(LayoutControls, ContainersAndPagesAddUp) {
    const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 900, 900, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    {
        ControlFonts fonts;
        const LayoutControls controls(parent, ui::optionen::kControls, fonts, 96);
        struct Case {
            std::string_view name;
            int left, top, page;
        };
        // Tab page controls are relative to the tab control, frame children to the frame.
        for (const Case& c :
             {Case{"TXT_Db", 600, 1800, 0}, Case{"OPT_Beide", 720, 3960, 0},
              Case{"Frame1", 600, 3360, 0}, Case{"TXT_Shell", 600, 1920, 1},
              Case{"OPT_ShowAlways", 480, 6000, -1}, Case{"OKButton", 6840, 6600, -1}}) {
            const ui::ControlLayout* entry = controls.layout(c.name);
            ASSERT_NE(entry, nullptr) << c.name;
            EXPECT_EQ(controls.windowTwips(*entry).left, c.left) << c.name;
            EXPECT_EQ(controls.windowTwips(*entry).top, c.top) << c.name;
            EXPECT_EQ(controls.page(*entry), c.page) << c.name;
            EXPECT_TRUE(
                SameRect(test::ClientRectOf(controls.get(c.name)), controls.pixels(*entry, 96)))
                << c.name;
        }
        EXPECT_EQ(controls.get("nichts"), nullptr);
        EXPECT_EQ(GetDlgCtrlID(controls.get("OKButton")), IDOK);
        // The dialog manager's order is the window order.
        EXPECT_EQ(GetWindow(parent, GW_CHILD), controls.get("TabDialog"));
        EXPECT_EQ(GetWindow(controls.get("TabDialog"), GW_HWNDNEXT), controls.get("TXT_Db"));
    }
    DestroyWindow(parent);
}

TEST(WindowText, HostileTextsSurviveTheRoundTrip) {
    const HWND label = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(label, nullptr);
    for (const std::string& text : kw::test::HostileTexts()) {
        // A window text ends at its first NUL; everything before it comes back unchanged.
        const std::string expected = text.substr(0, text.find('\0'));
        SetWindowTextUtf8(label, text);
        EXPECT_EQ(WindowTextUtf8(label), expected) << expected.substr(0, 40);
    }
    DestroyWindow(label);
}

TEST(WindowText, AccessKeys) {
    struct Case {
        const wchar_t* caption;
        wchar_t key;
    };
    for (const Case& c :
         {Case{L"&Datenbank", L'D'}, Case{L"An&gerufene", L'G'}, Case{L"Tom && Jerry", 0},
          Case{L"&& &x", L'X'}, Case{L"ende&", 0}, Case{L"", 0}, Case{L"&übernehmen", L'Ü'}}) {
        EXPECT_EQ(AccessKey(c.caption), c.key) << c.caption;
    }
}

TEST(Tooltips, KeepCallerTextsWhole) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 50, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    const HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 100, 20, owner, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(label, nullptr);
    {
        Tooltips tips(owner);
        ASSERT_NE(tips.window(), nullptr);
        EXPECT_NE(GetWindowLongPtrW(tips.window(), GWL_STYLE) & TTS_NOPREFIX, 0);
        EXPECT_TRUE(tips.add(label, "Ein Doppelklick löscht den letzten Anruf"));
        EXPECT_EQ(SendMessageW(tips.window(), TTM_GETTOOLCOUNT, 0, 0), 1);
        EXPECT_FALSE(tips.add(nullptr, "x"));

        auto shown = [&] {
            wchar_t text[256]{};
            TTTOOLINFOW tool{};
            tool.cbSize = TTTOOLINFOW_V2_SIZE;
            tool.hwnd = owner;
            tool.uId = reinterpret_cast<UINT_PTR>(label);
            tool.lpszText = text;
            SendMessageW(tips.window(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
            return std::wstring(text);
        };
        EXPECT_EQ(shown(), L"Ein Doppelklick löscht den letzten Anruf");
        tips.setText(label, std::string("Müller & Co\0 danach", 20));
        EXPECT_EQ(shown(), L"Müller & Co");
    }
    DestroyWindow(owner);
}

TEST(ModalDialog, ClientAreaLandsAtTheLayoutsScreenPlace) {
    RECT window = ModalDialog::WindowRectFor(ui::optionen::kWindow, {0, 0}, 96);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectExForDpi(&frame, ModalDialog::kStyle & ~WS_VISIBLE, FALSE, WS_EX_DLGMODALFRAME,
                             96);
    EXPECT_EQ(window.left - frame.left, 184);
    EXPECT_EQ(window.top - frame.top, 250);
    EXPECT_EQ((window.right - frame.right) - (window.left - frame.left), 560);
    EXPECT_EQ((window.bottom - frame.bottom) - (window.top - frame.top), 474);
    // On a second monitor at 144 dpi the place counts from that monitor's corner.
    window = ModalDialog::WindowRectFor(ui::optionen::kWindow, {1920, 0}, 144);
    frame = {0, 0, 0, 0};
    AdjustWindowRectExForDpi(&frame, ModalDialog::kStyle & ~WS_VISIBLE, FALSE, WS_EX_DLGMODALFRAME,
                             144);
    EXPECT_EQ(window.left - frame.left, 1920 + 276);
    EXPECT_EQ((window.right - frame.right) - (window.left - frame.left), 840);
}

}  // namespace
}  // namespace kw::winui
