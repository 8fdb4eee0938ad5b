#include "ui/win32/win32_anzeige_view.h"

#include "ui/anzeige_layout.h"

namespace kw::winui {

namespace layout = ui::anzeige;

namespace {

std::string_view NameOf(ui::AnzeigeCheck box) {
    return box == ui::AnzeigeCheck::Benachrichtigung ? layout::kNotificationBox
                                                     : layout::kAutostartBox;
}

}  // namespace

Win32AnzeigeView::Win32AnzeigeView()
    : PresenterDialog({layout::kWindow, layout::kControls,
                       ui::RowOf(layout::kControls, layout::kDefaultButton).id}) {}

bool Win32AnzeigeView::checked(ui::AnzeigeCheck box) {
    HWND button = control(NameOf(box));
    return button != nullptr && SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32AnzeigeView::setChecked(ui::AnzeigeCheck box, bool on) {
    if (HWND button = control(NameOf(box))) {
        SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void Win32AnzeigeView::setEnabled(ui::AnzeigeCheck box, bool enabled) {
    if (HWND button = control(NameOf(box))) {
        EnableWindow(button, enabled ? TRUE : FALSE);
    }
}

}  // namespace kw::winui
