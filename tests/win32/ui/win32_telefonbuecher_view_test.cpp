// The phone books dialog run modally under Wine with fakes: its layout and the list's wiring.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "tests/win32/ui/dialog_script.h"
#include "ui/telefonbuecher.h"
#include "ui/telefonbuecher_layout.h"
#include "ui/win32/twips.h"
#include "ui/win32/win32_telefonbuecher_view.h"
#include "ui/win32/window_text.h"

namespace kw::winui {
namespace {

namespace layout = ui::telefonbuecher;
using test::ClientRectOf;
using test::DialogScript;

struct Rig {
    kw::test::FakeSettingsStore store;
    kw::test::FakeMessageBox messages;
    kw::test::FakeFileDialog files;
    std::optional<PhoneBookOptions> applied;
    ui::TelefonbuecherPlatform platform{
        store,
        messages,
        files,
        nullptr,
        [this](const PhoneBookOptions& o) { applied = o; },
        [] {
            return std::vector<std::string>{"a & b: 3 Nummern", "c: kaputt"};
        }};
    Win32TelefonbuecherView view;
    ui::Telefonbuecher presenter{view, platform};

    Rig() {
        store.values[{"Klingelwart", "Telefonbuch", "Datei1"}] = "C:\\a.vcf";
        store.values[{"Klingelwart", "Telefonbuch", "Datei2"}] = "C:\\Bücher";
    }
    void run(DialogScript& script) {
        view.run(nullptr, [&](HWND dialog) {
            script.attach(dialog);
            return &presenter;
        });
    }
};

HWND Item(HWND dialog, std::string_view name) {
    for (const ui::ControlLayout& row : layout::kControls) {
        if (row.name == name) {
            return GetDlgItem(dialog, row.id);
        }
    }
    return nullptr;
}

TEST(Win32TelefonbuecherView, EveryControlSitsAtItsTwipsAndTheStatusShowsItsAmpersand) {
    Rig rig;
    DialogScript script([&](HWND dialog) {
        const int dpi = WindowDpi(dialog);
        auto px = [dpi](int twips) { return ui::TwipsToPixels(twips, dpi); };
        EXPECT_EQ(WindowText(dialog), L"Telefonbücher");
        for (const ui::ControlLayout& row : layout::kControls) {
            SCOPED_TRACE(row.name);
            HWND control = Item(dialog, row.name);
            ASSERT_NE(control, nullptr);
            const RECT got = ClientRectOf(control);
            EXPECT_EQ(got.left, px(row.rect.left));
            EXPECT_EQ(got.bottom, px(row.rect.top + row.rect.height));
        }
        EXPECT_EQ(WindowTextUtf8(Item(dialog, "LBL_Status")), "a & b: 3 Nummern\r\nc: kaputt");
        EXPECT_NE(GetWindowLongPtrW(Item(dialog, "LBL_Status"), GWL_STYLE) & SS_NOPREFIX, 0);
        EXPECT_EQ(SendMessageW(Item(dialog, "LST_Dateien"), LB_GETCOUNT, 0, 0), 2);
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
}

// A row chosen in the list decides what the buttons move; OK stores the new order.
TEST(Win32TelefonbuecherView, ChosenRowMovesUpAndOkStoresTheOrder) {
    Rig rig;
    DialogScript script(std::vector<DialogScript::Step>{
        [](HWND dialog) {
            HWND list = Item(dialog, "LST_Dateien");
            SendMessageW(list, LB_SETCURSEL, 1, 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
            EXPECT_FALSE(IsWindowEnabled(Item(dialog, "BTN_Unten")));
            test::Click(dialog, ui::RowOf(layout::kControls, "BTN_Oben").id);
        },
        [](HWND dialog) { test::Click(dialog, IDOK); },
    });
    rig.run(script);
    EXPECT_FALSE(script.forced());
    ASSERT_TRUE(rig.applied.has_value());
    EXPECT_EQ(rig.applied->Dateien, (std::vector<std::string>{"C:\\Bücher", "C:\\a.vcf"}));
}

}  // namespace
}  // namespace kw::winui
