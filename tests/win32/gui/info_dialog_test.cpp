// The about dialog of the real program: its texts, and the ways it closes.
#include <gtest/gtest.h>

#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"
#include "tests/win32/gui/process_windows.h"
#include "ui/win32/control_ids.h"

namespace kw::win32::gui {
namespace {

struct CloseWay {
    const char* what;
    void (*close)(HWND dialog);
};

TEST(InfoDialog, ShowsVersionAndCopyrightAndCloses) {
    const CloseWay ways[] = {
        {"Esc",
         [](HWND dialog) {
             PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
             PostMessageW(dialog, WM_KEYUP, VK_ESCAPE, 0xC0010001);
         }},
        {"IDCANCEL",
         [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); }},
        {"cmdOK",
         [](HWND dialog) {
             PostMessageW(FindDescendant(dialog, winui::ControlId("cmdOK")), BM_CLICK, 0, 0);
         }},
    };
    const OptionsRegistry registry;
    ASSERT_TRUE(registry.set(L"Start", L"2"));
    const KlingelwartSession session;
    ASSERT_TRUE(session.ready());
    for (const CloseWay& way : ways) {
        SCOPED_TRACE(way.what);
        session.menu("mnuInfo");
        const HWND dialog = session.awaitDialog(L"Info zu Klingelwart");
        ASSERT_NE(dialog, nullptr);
        const auto text = [&](std::string_view name) {
            return TextOf(FindDescendant(dialog, winui::ControlId(name)));
        };
        EXPECT_EQ(text("lblVersion"),
                  L"Version 2.0.0\r\nCopyright © 2026 Die Klingelwart-Entwickler");
        EXPECT_EQ(text("lblTitle"), L"Klingelwart (Freeware)");
        EXPECT_EQ(text("cmdOK"), L"OK");
        way.close(dialog);
        EXPECT_TRUE(PollUntil([&] { return !IsWindow(dialog); }));
        EXPECT_TRUE(session.process().running());
        EXPECT_TRUE(PollUntil([&] { return IsWindowEnabled(session.mainWindow()) != FALSE; }));
    }
}

}  // namespace
}  // namespace kw::win32::gui
