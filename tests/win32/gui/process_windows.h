#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/windows_api.h"

namespace kw::win32::gui {

// Looking at another process's windows the way a test tool does: through the window manager,
// with messages that Windows (and Wine) carry across processes.

std::vector<HWND> TopWindows(DWORD processId);

// A top-level window of the process with this class and, when given, exactly this caption.
HWND FindTopWindow(DWORD processId, std::wstring_view className,
                   std::optional<std::wstring_view> caption = std::nullopt);

// A child or deeper descendant by its control identifier (dialog pages nest controls).
HWND FindDescendant(HWND root, int id);
// A direct child by its class, for windows that have no identifier of their own.
HWND FindChildOfClass(HWND parent, std::wstring_view className);

// Sends a message and waits for the answer, but not for ever: the other process may hang. Empty
// when it gave no answer (or the message failed, for messages that answer 0 on failure).
std::optional<LRESULT> AskWindow(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

std::wstring ClassOf(HWND window);
// The text the window reports for WM_GETTEXT, whatever its length.
std::wstring TextOf(HWND window);

bool IsTopmost(HWND window);
LONG_PTR StyleOf(HWND window);

}  // namespace kw::win32::gui
