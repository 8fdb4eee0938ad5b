#include "ui/win32/win32_info_view.h"

#include <array>

#include "ui/info_layout.h"
#include "ui/win32/twips.h"
#include "ui/win32/window_text.h"

namespace kw::winui {

namespace layout = ui::info;

namespace {

constexpr int kSmallIconPixels = 16;
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

void Win32InfoView::run(HWND owner, Connect connect) {
    connect_ = std::move(connect);
    presenter_ = nullptr;
    runModal(owner, {});
    presenter_ = nullptr;
    controls_.reset();
}

INT_PTR Win32InfoView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            initialise();
            return FALSE;  // the focus is on OK
        case WM_COMMAND:
            // IDOK is OK and Enter, IDCANCEL Esc: both confirm.
            if ((LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) &&
                HIWORD(wParam) == BN_CLICKED) {
                okClicked();
            }
            return TRUE;
        case WM_CLOSE:
            okClicked();
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (controls_ && reinterpret_cast<HWND>(lParam) == controls_->get("lblTitle")) {
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
        case WM_DPICHANGED:
            placeAll(HIWORD(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

void Win32InfoView::initialise() {
    dpi_ = WindowDpi(window());
    controls_.emplace(window(), layout::kControls, fonts_, dpi_, kPlainLabels);
    placeAll(dpi_);
    smallIcon_ = LoadProgramIcon(kSmallIconPixels);
    if (smallIcon_) {
        SendMessageW(window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    }
    largeIcon_ = LoadProgramIcon(layout::kIconPixels);
    if (largeIcon_) {
        SendMessageW(controls_->get("picIcon"), STM_SETICON,
                     reinterpret_cast<WPARAM>(largeIcon_.get()), 0);
    }
    SendMessageW(window(), DM_SETDEFID, ui::RowOf(layout::kControls, "cmdOK").id, 0);
    SetFocus(controls_->get("cmdOK"));

    if (connect_) {
        presenter_ = connect_(window());
    }
    if (presenter_ != nullptr) {
        presenter_->load();
    }
}

void Win32InfoView::placeAll(int dpi) {
    dpi_ = dpi;
    placeAtLayout(layout::kWindow, dpi);
    controls_->place(dpi);
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

void Win32InfoView::okClicked() {
    if (presenter_ != nullptr) {
        presenter_->okClicked();
    } else {
        close();
    }
}

void Win32InfoView::setCaption(std::string_view text) {
    if (window() != nullptr) {
        SetWindowTextUtf8(window(), text);
    }
}

void Win32InfoView::setVersionText(std::string_view text) {
    if (HWND label = controls_ ? controls_->get("lblVersion") : nullptr) {
        SetWindowTextUtf8(label, text);
    }
}

void Win32InfoView::close() {
    end(IDOK);
}

}  // namespace kw::winui
