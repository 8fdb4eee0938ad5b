#include "ui/win32/win32_anrufquellen_view.h"

#include "platform/win32/wide_text.h"
#include "ui/anrufquellen_layout.h"
#include "ui/win32/twips.h"
#include "ui/win32/window_text.h"

namespace kw::winui {

namespace layout = ui::anrufquellen;

namespace {

constexpr int kSmallIconPixels = 16;

}  // namespace

void Win32AnrufquellenView::run(HWND owner, Connect connect) {
    connect_ = std::move(connect);
    presenter_ = nullptr;
    runModal(owner, win32::Utf8ToWide(layout::kWindowsWindow.caption));
    presenter_ = nullptr;
    controls_.reset();
}

INT_PTR Win32AnrufquellenView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            initialise();
            return FALSE;  // the focus is set
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            command(IDCANCEL, BN_CLICKED);
            return TRUE;
        case WM_DPICHANGED:
            placeAll(HIWORD(wParam));
            return TRUE;
        default:
            (void)lParam;
            return FALSE;
    }
}

void Win32AnrufquellenView::initialise() {
    const int dpi = WindowDpi(window());
    controls_.emplace(window(), layout::kWindowsControls, fonts_, dpi);
    placeAll(dpi);
    icon_ = LoadProgramIcon(kSmallIconPixels);
    if (icon_) {
        SendMessageW(window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    }
    SendMessageW(window(), DM_SETDEFID,
                 ui::RowOf(layout::kWindowsControls, layout::kDefaultButton).id, 0);
    SetFocus(GetNextDlgTabItem(window(), nullptr, FALSE));

    if (connect_) {
        presenter_ = connect_(window());
    }
    if (presenter_ != nullptr) {
        presenter_->load();
    }
}

void Win32AnrufquellenView::placeAll(int dpi) {
    placeAtLayout(layout::kWindowsWindow, dpi);
    controls_->place(dpi);
}

void Win32AnrufquellenView::command(int id, int code) {
    if (code != BN_CLICKED) {
        return;
    }
    if (presenter_ == nullptr) {
        if (id == IDOK || id == IDCANCEL) {
            close();
        }
        return;
    }
    if (id == IDOK) {
        presenter_->okClicked();
    } else if (id == IDCANCEL) {
        presenter_->cancelClicked();
    } else {
        for (const ui::ControlLayout& row : layout::kWindowsControls) {
            if (row.id == id && row.kind == ui::ControlKind::CheckBox) {
                presenter_->checkClicked(ui::SourceCheck{row.name});
            }
        }
    }
}

HWND Win32AnrufquellenView::control(std::string_view name) const {
    return controls_ && !name.empty() ? controls_->get(name) : nullptr;
}

bool Win32AnrufquellenView::checked(ui::SourceCheck box) {
    HWND button = control(box.name);
    return button != nullptr && SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32AnrufquellenView::setChecked(ui::SourceCheck box, bool on) {
    if (HWND button = control(box.name)) {
        SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

std::string Win32AnrufquellenView::text(ui::SourceText box) {
    HWND edit = control(box.name);
    return edit != nullptr ? WindowTextUtf8(edit) : std::string();
}

void Win32AnrufquellenView::setText(ui::SourceText box, std::string_view text) {
    if (HWND edit = control(box.name)) {
        SetWindowTextUtf8(edit, text);
    }
}

void Win32AnrufquellenView::setTextEnabled(ui::SourceText box, bool enabled) {
    if (HWND edit = control(box.name)) {
        EnableWindow(edit, enabled ? TRUE : FALSE);
    }
}

void Win32AnrufquellenView::focus(ui::SourceText box) {
    if (HWND edit = control(box.name)) {
        SendMessageW(window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    }
}

void Win32AnrufquellenView::close() {
    end(IDOK);
}

}  // namespace kw::winui
