// The call sources dialog run modally under Wine with a fake store: its layout, keys and wiring.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/app_options.h"
#include "core/call_source_options.h"
#include "tests/support/fake_platform.h"
#include "tests/win32/ui/dialog_script.h"
#include "ui/anrufquellen.h"
#include "ui/anrufquellen_layout.h"
#include "ui/win32/twips.h"
#include "ui/win32/win32_anrufquellen_view.h"
#include "ui/win32/window_text.h"

namespace kw::winui {
namespace {

namespace layout = ui::anrufquellen;
using test::ClientRectOf;
using test::DialogScript;

struct AnrufquellenRig {
    kw::test::FakeSettingsStore store;
    kw::test::FakeMessageBox messages;
    std::optional<CallSourceOptions> applied;
    ui::AnrufquellenPlatform platform{
        store,
        messages,
        {ui::source::kSteuerelement, ui::source::kKlingelwartRing, ui::source::kRouter},
        [this](const CallSourceOptions& on) { applied = on; },
        nullptr};
    Win32AnrufquellenView view;
    ui::Anrufquellen presenter{view, platform};

    void stored(std::string_view key, std::string_view value) {
        store.values[{std::string(kApplicationName), std::string(kCallSourcesSection),
                      std::string(key)}] = value;
    }
    void run(DialogScript& script) {
        view.run(nullptr, [&](HWND dialog) {
            script.attach(dialog);
            return &presenter;
        });
    }
};

HWND Item(HWND dialog, const ui::ControlLayout& row) {
    return GetDlgItem(dialog, row.id);
}

TEST(Win32AnrufquellenView, EveryControlSitsAtItsTwipsInTabOrderWithOkAsDefault) {
    AnrufquellenRig rig;
    rig.stored(source_key::kRouter, "1");  // disabled boxes would leave the tab order
    DialogScript script([&](HWND dialog) {
        const int dpi = WindowDpi(dialog);
        auto px = [dpi](int twips) { return ui::TwipsToPixels(twips, dpi); };
        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, px(layout::kWindowsWindow.clientWidth));
        EXPECT_EQ(client.bottom, px(layout::kWindowsWindow.clientHeight));
        EXPECT_EQ(WindowText(dialog), L"Anrufquellen");
        EXPECT_EQ(GetWindowLongPtrW(dialog, GWL_STYLE) &
                      (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
                  0);
        std::vector<const ui::ControlLayout*> stops;
        for (const ui::ControlLayout& row : layout::kWindowsControls) {
            SCOPED_TRACE(row.name);
            HWND control = Item(dialog, row);
            ASSERT_NE(control, nullptr);
            const RECT got = ClientRectOf(control);
            EXPECT_EQ(got.left, px(row.rect.left));
            EXPECT_EQ(got.top, px(row.rect.top));
            EXPECT_EQ(got.right, px(row.rect.left + row.rect.width));
            EXPECT_EQ(got.bottom, px(row.rect.top + row.rect.height));
            if (row.kind != ui::ControlKind::TextBox) {
                EXPECT_EQ(WindowTextUtf8(control), row.caption);
            }
            if (row.kind != ui::ControlKind::Label) {
                stops.push_back(&row);
            }
        }
        std::ranges::sort(stops, {}, &ui::ControlLayout::tabIndex);
        HWND at = GetNextDlgTabItem(dialog, nullptr, FALSE);
        EXPECT_EQ(GetFocus(), at);
        for (const ui::ControlLayout* row : stops) {
            EXPECT_EQ(GetDlgCtrlID(at), row->id) << row->name;
            at = GetNextDlgTabItem(dialog, at, FALSE);
        }
        EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), IDOK);
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
}

TEST(Win32AnrufquellenView, EscAndTheCloseBoxCancelWithoutWriting) {
    for (const bool closeBox : {false, true}) {
        AnrufquellenRig rig;
        DialogScript script([&](HWND dialog) {
            PostMessageW(Item(dialog, layout::row::KlingelwartRing), BM_CLICK, 0, 0);
            if (closeBox) {
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            } else {
                PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
            }
        });
        rig.run(script);
        EXPECT_FALSE(script.forced()) << (closeBox ? "close box" : "Esc");
        EXPECT_TRUE(rig.store.writtenKeys.empty());
        EXPECT_FALSE(rig.applied.has_value());
    }
}

}  // namespace
}  // namespace kw::winui
