#pragma once

#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace kw::win32::install {

// The top level of the contents tree that the help viewer of another process shows, as the
// user reads it: this is where a wrongly encoded title of the manual would show.
std::vector<std::wstring> HelpContentsTitles(DWORD processId, HWND helpWindow);

}  // namespace kw::win32::install
