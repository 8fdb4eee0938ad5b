#pragma once

#include <span>

#include "platform/win32/windows_api.h"
#include "ui/layout.h"

namespace kw::winui {

// The menu bar with its two submenus; entries carry their control identifiers as commands and
// their shortcuts after a tab. The window that receives it destroys it.
HMENU CreateMenuBar(std::span<const ui::MenuEntry> entries);

}  // namespace kw::winui
