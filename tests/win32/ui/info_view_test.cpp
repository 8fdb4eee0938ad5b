// The about dialog run modally under Wine with its real presenter.
#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"
#include "tests/win32/ui/dialog_script.h"
#include "ui/info.h"
#include "ui/info_layout.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/twips.h"
#include "ui/win32/win32_info_view.h"
#include "ui/win32/window_text.h"

namespace kw::winui {
namespace {

using test::DialogScript;

struct InfoRig {
    kw::test::FakeProgramInfo program;
    Win32InfoView view;
    ui::Info presenter{view, program};

    void run(DialogScript& script) {
        view.run(nullptr, [&](HWND dialog) {
            script.attach(dialog);
            return &presenter;
        });
    }
};

// A snapshot of the dialog's client area as the dialog paints it.
class ClientSnapshot {
  public:
    ClientSnapshot(HWND dialog, int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SendMessageW(dialog, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
    }
    ~ClientSnapshot() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    ClientSnapshot(const ClientSnapshot&) = delete;
    ClientSnapshot& operator=(const ClientSnapshot&) = delete;

    COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

  private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

TEST(Win32InfoView, ShowsThePresentersTextsAtTheLayoutsPlaces) {
    InfoRig rig;
    DialogScript script([&](HWND dialog) {
        const int dpi = WindowDpi(dialog);
        auto px = [dpi](int twips) { return ui::TwipsToPixels(twips, dpi); };
        EXPECT_EQ(WindowTextUtf8(dialog), ui::info::kCaption);
        HWND version = GetDlgItem(dialog, ControlId("lblVersion"));
        EXPECT_EQ(WindowTextUtf8(version), ui::InfoVersionText({2, 0, 0}));
        EXPECT_NE(GetWindowLongPtrW(version, GWL_STYLE) & SS_NOPREFIX, 0);

        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, px(5730));
        EXPECT_EQ(client.bottom, px(4470));
        POINT corner{0, 0};
        ClientToScreen(dialog, &corner);
        EXPECT_EQ(corner.x, px(4995));
        EXPECT_EQ(corner.y, px(3990));
        const RECT ok = test::ClientRectOf(GetDlgItem(dialog, IDOK));
        EXPECT_EQ(ok.left, px(4485));
        EXPECT_EQ(ok.bottom, px(3720 + 345));

        HWND title = GetDlgItem(dialog, ControlId("lblTitle"));
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(title, WM_GETFONT, 0, 0)), sizeof(font),
                   &font);
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_EQ(font.lfHeight, -std::lround(12.0 * dpi / 72));
        EXPECT_NE(
            GetWindowLongPtrW(GetDlgItem(dialog, ControlId("picIcon")), GWL_STYLE) & WS_BORDER, 0);

        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
        EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), IDOK);
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
}

TEST(Win32InfoView, PaintsTheEtchedLine) {
    InfoRig rig;
    DialogScript script([&](HWND dialog) {
        const int dpi = WindowDpi(dialog);
        auto px = [dpi](int twips) { return ui::TwipsToPixels(twips, dpi); };
        const ClientSnapshot snapshot(dialog, px(5730), px(4470));
        const int y = px(ui::info::kLineY);
        const int left = px(ui::info::kLineLeft);
        const COLORREF grey = RGB(128, 128, 128);
        const COLORREF white = RGB(255, 255, 255);
        EXPECT_EQ(snapshot.at(left, y), grey);
        EXPECT_EQ(snapshot.at(px(ui::info::kGreyLineRight) - 1, y), grey);
        EXPECT_EQ(snapshot.at(left, y + 1), white);
        EXPECT_EQ(snapshot.at(px(ui::info::kWhiteLineRight) - 1, y + 1), white);
        // Nothing beyond the ends, above or below.
        EXPECT_NE(snapshot.at(left - 1, y), grey);
        EXPECT_NE(snapshot.at(px(ui::info::kGreyLineRight), y), grey);
        EXPECT_NE(snapshot.at(left, y - 1), grey);
        EXPECT_NE(snapshot.at(left, y + 2), white);
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
}

TEST(Win32InfoView, OkEnterEscAndTheCloseBoxAllClose) {
    enum class Way { Ok, Enter, Esc, CloseBox };
    for (const Way way : {Way::Ok, Way::Enter, Way::Esc, Way::CloseBox}) {
        InfoRig rig;
        DialogScript script([way](HWND dialog) {
            switch (way) {
                case Way::Ok:
                    SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
                    break;
                case Way::Enter:
                    PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
                    break;
                case Way::Esc:
                    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
                    break;
                case Way::CloseBox:
                    PostMessageW(dialog, WM_CLOSE, 0, 0);
                    break;
            }
        });
        rig.run(script);
        EXPECT_TRUE(script.ran());
        EXPECT_FALSE(script.forced()) << static_cast<int>(way);
    }
}

}  // namespace
}  // namespace kw::winui
