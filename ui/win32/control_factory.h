#pragma once

#include <span>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/layout.h"

namespace kw::winui {

struct ControlFlags {
    // Labels only: "&" shows as "&" instead of marking an access key. For texts that carry
    // caller data.
    bool noPrefix = false;
    // WS_GROUP: the control starts a group for the arrow keys and for auto radio buttons.
    bool startsGroup = true;
};

// Creates the child control for a layout entry at its pixel rectangle (in the parent's client
// area), with the font, the id, the caption and the enabled state of the entry. Null for a
// PhoneControl, which its own host makes, and when Windows refuses.
//
// Every control is a direct child of the window, frames and tab pages included, so the dialog
// manager sees all of them; callers place a container's controls relative to it themselves.
HWND CreateLayoutControl(HWND parent, const ui::ControlLayout& layout, int id, const RECT& pixels,
                         HFONT font, ControlFlags flags = {});

// The window class and styles CreateLayoutControl uses for a kind, for checks and tests.
struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};
ControlClass ClassOf(const ui::ControlLayout& layout, ControlFlags flags);

// The order to create the controls in: the dialog manager's tab order is the creation order, so
// by ascending tab index first, then the ones without a tab index in table order.
std::vector<const ui::ControlLayout*> CreationOrder(std::span<const ui::ControlLayout> layouts);

// Whether a control created after `previous` (null for the first) starts a group: everything
// does, except an option button that follows one in the same container.
bool StartsGroup(const ui::ControlLayout& layout, const ui::ControlLayout* previous);

}  // namespace kw::winui
