#include "ui/win32/modal_dialog.h"

#include <vector>

#include "platform/win32/wide_text.h"
#include "ui/win32/twips.h"

namespace kw::winui {

namespace {

constexpr int kSmallIconPixels = 16;

// DLGTEMPLATE, then empty menu and class, the caption and its terminator. The words go into
// fresh heap memory, which is aligned for the template's DWORDs.
std::vector<WORD> DialogTemplate(std::wstring_view caption) {
    std::vector<WORD> words;
    auto dword = [&words](DWORD value) {
        words.push_back(LOWORD(value));
        words.push_back(HIWORD(value));
    };
    dword(ModalDialog::kStyle);
    dword(0);                                    // extended style
    words.insert(words.end(), {0, 0, 0, 0, 0});  // no controls; x, y, cx, cy set afterwards
    words.insert(words.end(), {0, 0});           // no menu, the standard dialog class
    for (wchar_t c : caption) {
        words.push_back(c == L'\0' ? L' ' : static_cast<WORD>(c));
    }
    words.push_back(0);
    return words;
}

}  // namespace

RECT ModalDialog::WindowRectFor(const ui::WindowLayout& layout, POINT monitorOrigin, int dpi) {
    const SIZE client = ClientTwipsToPixels(layout.clientWidth, layout.clientHeight, dpi);
    RECT rect{monitorOrigin.x + ui::TwipsToPixels(layout.screenLeft, dpi),
              monitorOrigin.y + ui::TwipsToPixels(layout.screenTop, dpi), 0, 0};
    rect.right = rect.left + client.cx;
    rect.bottom = rect.top + client.cy;
    AdjustWindowRectExForDpi(&rect, kStyle & ~WS_VISIBLE, FALSE, WS_EX_DLGMODALFRAME,
                             static_cast<UINT>(dpi));
    return rect;
}

INT_PTR ModalDialog::runModal(HWND owner) {
    const std::vector<WORD> words = DialogTemplate(win32::Utf8ToWide(table_.window.caption));
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner,
        &ModalDialog::Procedure, reinterpret_cast<LPARAM>(this));
    controls_.reset();
    return result;
}

void ModalDialog::end(INT_PTR result) {
    if (dialog_ != nullptr) {
        EndDialog(dialog_, result);
    }
}

INT_PTR ModalDialog::handle(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
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
            place(HIWORD(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

void ModalDialog::initialise() {
    const int dpi = WindowDpi(dialog_);
    controls_.emplace(dialog_, table_.controls, fonts_, dpi, table_.plainLabels);
    made();
    place(dpi);
    icon_ = LoadProgramIcon(kSmallIconPixels);
    if (icon_) {
        SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    }
    SendMessageW(dialog_, DM_SETDEFID, table_.defaultButton, 0);
    SetFocus(GetNextDlgTabItem(dialog_, nullptr, FALSE));
    initialised();
}

void ModalDialog::place(int dpi) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    POINT origin{};
    if (GetMonitorInfoW(MonitorFromWindow(dialog_, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        origin = {monitor.rcMonitor.left, monitor.rcMonitor.top};
    }
    const RECT rect = WindowRectFor(table_.window, origin, dpi);
    SetWindowPos(dialog_, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    controls_->place(dpi);
    placed(dpi);
}

void ModalDialog::command(int id, int code) {
    if (code != BN_CLICKED) {
        return;
    }
    if (id == IDOK) {
        ok();
    } else if (id == IDCANCEL) {
        cancel();
    } else {
        clicked(id);
    }
}

HWND ModalDialog::control(std::string_view name) const {
    return controls_ && !name.empty() ? controls_->get(name) : nullptr;
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<ModalDialog*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->dialog_ = dialog;
    }
    if (self == nullptr) {
        return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT, WM_NCCREATE...)
    }
    const INT_PTR result = self->handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        self->dialog_ = nullptr;
    }
    return result;
}

}  // namespace kw::winui
