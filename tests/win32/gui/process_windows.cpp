#include "tests/win32/gui/process_windows.h"

namespace kw::win32::gui {

namespace {

constexpr UINT kReplyTimeoutMs = 5000;

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK AddIfOfProcess(HWND window, LPARAM state) {
    auto& search = *reinterpret_cast<ProcessWindows*>(state);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId) {
        search.found.push_back(window);
    }
    return TRUE;
}

struct IdSearch {
    int id;
    HWND found;
};

BOOL CALLBACK StopAtId(HWND window, LPARAM state) {
    auto& search = *reinterpret_cast<IdSearch*>(state);
    if (GetDlgCtrlID(window) == search.id) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> TopWindows(DWORD processId) {
    ProcessWindows search{processId, {}};
    EnumWindows(AddIfOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopWindow(DWORD processId, std::wstring_view className,
                   std::optional<std::wstring_view> caption) {
    for (HWND window : TopWindows(processId)) {
        if (ClassOf(window) == className && (!caption || TextOf(window) == *caption)) {
            return window;
        }
    }
    return nullptr;
}

HWND FindDescendant(HWND root, int id) {
    IdSearch search{id, nullptr};
    EnumChildWindows(root, StopAtId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChildOfClass(HWND parent, std::wstring_view className) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == className) {
            return child;
        }
    }
    return nullptr;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::optional<LRESULT> AskWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kReplyTimeoutMs,
                            &result) == 0) {
        return std::nullopt;
    }
    return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs,
                             &length)) {
        return L"<no answer>";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, kReplyTimeoutMs, &copied);
    text.resize(copied);
    return text;
}

bool IsTopmost(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

LONG_PTR StyleOf(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

}  // namespace kw::win32::gui
