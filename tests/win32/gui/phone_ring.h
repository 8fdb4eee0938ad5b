#pragma once

#include <optional>
#include <string_view>

#include "platform/win32/windows_api.h"

namespace kw::win32::gui {

// The substitute phone control's window inside the main window's phone box, once it is there.
HWND FindPhone(HWND mainWindow);

// Makes the substitute fire its call notification with these numbers; false when no phone
// is hosted or no handler took the event.
bool RingPhone(HWND mainWindow, std::wstring_view caller, std::wstring_view called);

// How many rings left a handler's hands on the texts it was given by reference.
std::optional<LRESULT> RingsWithTouchedTexts(HWND mainWindow);

}  // namespace kw::win32::gui
