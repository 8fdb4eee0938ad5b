#include "ui/win32/control_factory.h"

#include <algorithm>
#include <string>

#include "platform/win32/wide_text.h"

#include <commctrl.h>

namespace kw::winui {

namespace {

DWORD LabelStyle(const ui::ControlLayout& layout, ControlFlags flags) {
    // SS_LEFT and SS_CENTER both wrap at word boundaries; SS_NOTIFY lets double clicks through.
    DWORD style = (layout.centred ? SS_CENTER : SS_LEFT) | SS_NOTIFY;
    if (flags.noPrefix) {
        style |= SS_NOPREFIX;
    }
    if (layout.border) {
        style |= WS_BORDER;
    }
    return style;
}

}  // namespace

ControlClass ClassOf(const ui::ControlLayout& layout, ControlFlags flags) {
    DWORD common = WS_CHILD | WS_VISIBLE;
    if (!layout.enabled) {
        common |= WS_DISABLED;
    }
    if (flags.startsGroup) {
        common |= WS_GROUP;
    }
    switch (layout.kind) {
        case ui::ControlKind::Label:
            return {L"STATIC", common | LabelStyle(layout, flags), 0};
        case ui::ControlKind::Button:
            return {L"BUTTON", common | BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ui::ControlKind::TextBox:
            return {L"EDIT",
                    common | ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP |
                        (layout.password ? static_cast<DWORD>(ES_PASSWORD) : 0u),
                    WS_EX_CLIENTEDGE};
        case ui::ControlKind::CheckBox:
            return {L"BUTTON", common | BS_AUTOCHECKBOX | WS_TABSTOP, 0};
        case ui::ControlKind::OptionButton:
            // Tab enters a group at one button only; the views move the stop to the selection.
            return {L"BUTTON", common | BS_AUTORADIOBUTTON | (flags.startsGroup ? WS_TABSTOP : 0),
                    0};
        case ui::ControlKind::Frame:
            return {L"BUTTON", common | BS_GROUPBOX, 0};
        case ui::ControlKind::TabControl:
            return {WC_TABCONTROLW, common | WS_TABSTOP | WS_CLIPSIBLINGS, 0};
        case ui::ControlKind::Picture:
            // SS_CENTERIMAGE keeps the control's size instead of shrinking it to the icon.
            return {L"STATIC", common | SS_ICON | SS_CENTERIMAGE | (layout.border ? WS_BORDER : 0u),
                    0};
        case ui::ControlKind::ListBox:
            return {
                L"LISTBOX",
                common | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
        case ui::ControlKind::ListView:
            // The view hands out the rows' texts as they are drawn (LVN_GETDISPINFO).
            return {WC_LISTVIEWW,
                    common | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | WS_TABSTOP,
                    WS_EX_CLIENTEDGE};
        case ui::ControlKind::PhoneControl:
            break;
    }
    return {nullptr, 0, 0};
}

HWND CreateLayoutControl(HWND parent, const ui::ControlLayout& layout, int id, const RECT& pixels,
                         HFONT font, ControlFlags flags) {
    const ControlClass kind = ClassOf(layout, flags);
    if (kind.className == nullptr) {
        return nullptr;
    }
    // A picture's caption would name an icon resource.
    const std::wstring caption = layout.kind == ui::ControlKind::Picture
                                     ? std::wstring()
                                     : win32::Utf8ToWide(layout.caption);
    HWND control = CreateWindowExW(
        kind.exStyle, kind.className, caption.c_str(), kind.style, pixels.left, pixels.top,
        pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        return nullptr;
    }
    if (font != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    if (layout.kind == ui::ControlKind::TextBox) {
        SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // 0: as long as the system allows
    }
    return control;
}

std::vector<const ui::ControlLayout*> CreationOrder(std::span<const ui::ControlLayout> layouts) {
    std::vector<const ui::ControlLayout*> order;
    order.reserve(layouts.size());
    for (const ui::ControlLayout& layout : layouts) {
        order.push_back(&layout);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const ui::ControlLayout* a, const ui::ControlLayout* b) {
                         if ((a->tabIndex < 0) != (b->tabIndex < 0)) {
                             return b->tabIndex < 0;
                         }
                         return a->tabIndex < b->tabIndex;
                     });
    return order;
}

bool StartsGroup(const ui::ControlLayout& layout, const ui::ControlLayout* previous) {
    return layout.kind != ui::ControlKind::OptionButton || previous == nullptr ||
           previous->kind != ui::ControlKind::OptionButton ||
           previous->container != layout.container;
}

}  // namespace kw::winui
