#include "ui/win32/win32_anrufquellen_view.h"

#include "platform/win32/wide_text.h"
#include "ui/anrufquellen_layout.h"
#include "ui/win32/twips.h"
#include "ui/win32/window_text.h"

namespace kw::winui {

namespace layout = ui::anrufquellen;

Win32AnrufquellenView::Win32AnrufquellenView()
    : PresenterDialog({layout::kWindowsWindow, layout::kWindowsControls,
                       ui::RowOf(layout::kWindowsControls, layout::kDefaultButton).id}) {}

void Win32AnrufquellenView::clicked(int id) {
    if (presenter() == nullptr) {
        return;
    }
    for (const ui::ControlLayout& row : layout::kWindowsControls) {
        if (row.id == id && row.kind == ui::ControlKind::CheckBox) {
            presenter()->checkClicked(ui::SourceCheck{row.name});
        }
    }
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

}  // namespace kw::winui
