// Themed frames and option buttons have their parent draw what lies behind them; on a tab page
// that must be the page, not the dialog's face, or they stand on grey patches.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "tests/win32/ui/dialog_script.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/win32_optionen_view.h"

#include <uxtheme.h>

namespace kw::winui {
namespace {

using test::ClientRectOf;
using test::DialogScript;

// The common controls of version 6, as the program's manifest asks for: only they draw themed.
class ThemedControls {
  public:
    ThemedControls() {
        std::ofstream(file_)
            << R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
            << R"(<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">)"
            << R"(<dependency><dependentAssembly><assemblyIdentity type="win32")"
            << R"( name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"
            << R"( processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>)"
            << R"(</dependentAssembly></dependency></assembly>)";
        ACTCTXW request{};
        request.cbSize = sizeof(request);
        request.lpSource = file_.c_str();
        context_ = CreateActCtxW(&request);
        active_ = context_ != INVALID_HANDLE_VALUE && ActivateActCtx(context_, &cookie_) != FALSE;
    }
    ~ThemedControls() {
        if (active_) {
            DeactivateActCtx(0, cookie_);
        }
        if (context_ != INVALID_HANDLE_VALUE) {
            ReleaseActCtx(context_);
        }
        std::filesystem::remove(file_);
    }
    ThemedControls(const ThemedControls&) = delete;
    ThemedControls& operator=(const ThemedControls&) = delete;

    bool active() const { return active_; }

  private:
    std::filesystem::path file_ =
        std::filesystem::temp_directory_path() / L"kw_page_background_test.manifest";
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

// One pixel of what `draw` paints into a DC whose origin is `origin`'s client corner.
template <class Draw>
COLORREF PixelDrawn(POINT at, Draw draw) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, at.x + 1, at.y + 1);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const RECT all{0, 0, at.x + 1, at.y + 1};
    HBRUSH sentinel = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(memory, &all, sentinel);
    draw(memory);
    const COLORREF pixel = GetPixel(memory, at.x, at.y);
    DeleteObject(sentinel);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixel;
}

TEST(PageBackground, ThemedControlsOnAPageStandOnThePage) {
    const ThemedControls themed;
    if (!themed.active() || !IsThemeActive()) {
        GTEST_SKIP() << "no visual style to draw with";
    }
    Win32OptionenView view;
    DialogScript script([&](HWND dialog) {
        HWND tabs = GetDlgItem(dialog, ControlId("TabDialog"));
        const RECT tabPlace = ClientRectOf(tabs);
        for (std::string_view name : {"Frame1", "OPT_Beide"}) {
            HWND control = GetDlgItem(dialog, ControlId(name));
            const RECT place = ClientRectOf(control);
            // Right of the caption, where only background shows.
            const POINT at{(place.right - place.left) * 9 / 10, (place.bottom - place.top) / 2};
            const COLORREF behind = PixelDrawn(
                at, [&](HDC context) { DrawThemeParentBackground(control, context, nullptr); });
            const POINT onTabs{place.left - tabPlace.left + at.x, place.top - tabPlace.top + at.y};
            const COLORREF page = PixelDrawn(onTabs, [&](HDC context) {
                SendMessageW(tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(context), PRF_CLIENT);
            });
            EXPECT_EQ(behind, page) << name;
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    view.run(nullptr, [&](HWND dialog) {
        script.attach(dialog);
        return nullptr;
    });
    EXPECT_TRUE(script.ran());
}

}  // namespace
}  // namespace kw::winui
