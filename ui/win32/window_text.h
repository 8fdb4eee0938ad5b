#pragma once

#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"

namespace kw::winui {

// A window's or control's whole text, however long.
std::wstring WindowText(HWND window);
std::string WindowTextUtf8(HWND window);

// Sets the text from UTF-8; embedded NULs end it, as they end every window text.
void SetWindowTextUtf8(HWND window, std::string_view text);

// The access key a caption marks with "&" ("&&" is a plain "&"), upper case; 0 for none.
wchar_t AccessKey(std::wstring_view caption);

}  // namespace kw::winui
