#pragma once

#include <optional>
#include <string>

#include "platform/win32/windows_api.h"

namespace kw::win32::gui {

// The tip that the process's tooltip windows hold for this control (a tool registered by its
// window handle), read as the tooltip window reports it; nothing when no tooltip window of the
// process knows the control.
std::optional<std::wstring> TooltipTextOf(DWORD processId, HWND control);

}  // namespace kw::win32::gui
