#include "ui/win32/win32_info_view.h"

#include <array>

#include "ui/info_layout.h"
#include "ui/win32/twips.h"
#include "ui/win32/window_text.h"

namespace kw::winui {

namespace layout = ui::info;

namespace {

constexpr COLORREF kEtchedGrey = RGB(128, 128, 128);
constexpr COLORREF kEtchedWhite = RGB(255, 255, 255);
constexpr COLORREF kTitleColour = RGB(0, 0, 0);

// None of the texts marks an access key, and the version line is data.
constexpr std::array<std::string_view, 4> kPlainLabels{"lblTitle", "lblVersion", "lblDescription",
                                                       "lblDisclaimer"};

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    // The DC brush needs no cleanup; its colour is restored for whoever draws next.
    const COLORREF previous = SetDCBrushColor(dc, colour);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, previous);
}

}  // namespace

Win32InfoView::Win32InfoView()
    : PresenterDialog({layout::kWindow, layout::kControls, ui::RowOf(layout::kControls, "cmdOK").id,
                       kPlainLabels}) {}

INT_PTR Win32InfoView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
            if (HWND title = control("lblTitle");
                title != nullptr && reinterpret_cast<HWND>(lParam) == title) {
                auto* dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, kTitleColour);
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            }
            return FALSE;
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            if (HDC dc = BeginPaint(window(), &paint)) {
                paintLine(dc);
                EndPaint(window(), &paint);
            }
            return TRUE;
        }
        case WM_PRINTCLIENT:
            paintLine(reinterpret_cast<HDC>(wParam));
            return TRUE;
        default:
            return PresenterDialog::handle(message, wParam, lParam);
    }
}

void Win32InfoView::made() {
    largeIcon_ = LoadProgramIcon(layout::kIconPixels);
    if (largeIcon_) {
        SendMessageW(control("picIcon"), STM_SETICON, reinterpret_cast<WPARAM>(largeIcon_.get()),
                     0);
    }
}

void Win32InfoView::placed(int dpi) {
    dpi_ = dpi;
    InvalidateRect(window(), nullptr, TRUE);
}

void Win32InfoView::paintLine(HDC dc) const {
    const int y = ui::TwipsToPixels(layout::kLineY, dpi_);
    const int left = ui::TwipsToPixels(layout::kLineLeft, dpi_);
    // The white line, two pixels high, lies under the grey one and shows below it.
    FillSolid(dc, RECT{left, y, ui::TwipsToPixels(layout::kWhiteLineRight, dpi_), y + 2},
              kEtchedWhite);
    FillSolid(dc, RECT{left, y, ui::TwipsToPixels(layout::kGreyLineRight, dpi_), y + 1},
              kEtchedGrey);
}

void Win32InfoView::setCaption(std::string_view text) {
    if (window() != nullptr) {
        SetWindowTextUtf8(window(), text);
    }
}

void Win32InfoView::setVersionText(std::string_view text) {
    if (HWND label = control("lblVersion")) {
        SetWindowTextUtf8(label, text);
    }
}

}  // namespace kw::winui
