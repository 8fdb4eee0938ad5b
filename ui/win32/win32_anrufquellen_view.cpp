#include "ui/win32/win32_anrufquellen_view.h"

#include "platform/win32/wide_text.h"
#include "ui/anrufquellen_layout.h"
#include "ui/win32/twips.h"
#include "ui/win32/window_text.h"

namespace kw::winui {

namespace layout = ui::anrufquellen;

namespace {

std::string_view CheckName(ui::SourceCheck box) {
    switch (box) {
        case ui::SourceCheck::Steuerelement:
            return layout::row::Steuerelement.name;
        case ui::SourceCheck::KlingelwartRing:
            return layout::row::KlingelwartRing.name;
        case ui::SourceCheck::Router:
            return layout::row::Router.name;
        case ui::SourceCheck::SIP:
            break;
    }
    return {};  // not on this system's dialog
}

std::string_view TextName(ui::SourceText box) {
    switch (box) {
        case ui::SourceText::RouterHost:
            return layout::row::RouterHost.name;
        case ui::SourceText::RouterPort:
            return layout::row::RouterPort.name;
        default:
            return {};
    }
}

}  // namespace

Win32AnrufquellenView::Win32AnrufquellenView()
    : PresenterDialog({layout::kWindowsWindow, layout::kWindowsControls,
                       ui::RowOf(layout::kWindowsControls, layout::kDefaultButton).id}) {}

void Win32AnrufquellenView::clicked(int id) {
    if (presenter() != nullptr && id == layout::row::Router.id) {
        presenter()->routerClicked();
    }
}

bool Win32AnrufquellenView::checked(ui::SourceCheck box) {
    HWND button = control(CheckName(box));
    return button != nullptr && SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32AnrufquellenView::setChecked(ui::SourceCheck box, bool on) {
    if (HWND button = control(CheckName(box))) {
        SendMessageW(button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

std::string Win32AnrufquellenView::text(ui::SourceText box) {
    HWND edit = control(TextName(box));
    return edit != nullptr ? WindowTextUtf8(edit) : std::string();
}

void Win32AnrufquellenView::setText(ui::SourceText box, std::string_view text) {
    if (HWND edit = control(TextName(box))) {
        SetWindowTextUtf8(edit, text);
    }
}

void Win32AnrufquellenView::setTextEnabled(ui::SourceText box, bool enabled) {
    if (HWND edit = control(TextName(box))) {
        EnableWindow(edit, enabled ? TRUE : FALSE);
    }
}

void Win32AnrufquellenView::focus(ui::SourceText box) {
    if (HWND edit = control(TextName(box))) {
        SendMessageW(window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    }
}

}  // namespace kw::winui
