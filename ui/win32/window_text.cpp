#include "ui/win32/window_text.h"

#include "platform/win32/wide_text.h"

namespace kw::winui {

std::wstring WindowText(HWND window) {
    // WM_GETTEXTLENGTH may overstate (never understate) the length, so the copy decides.
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

std::string WindowTextUtf8(HWND window) {
    return win32::WideToUtf8(WindowText(window));
}

void SetWindowTextUtf8(HWND window, std::string_view text) {
    const std::wstring wide = win32::Utf8ToWide(text);
    SetWindowTextW(window, wide.c_str());
}

wchar_t AccessKey(std::wstring_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') {
            continue;
        }
        if (caption[i + 1] != L'&') {
            return static_cast<wchar_t>(
                reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(
                    static_cast<UINT_PTR>(static_cast<unsigned short>(caption[i + 1]))))));
        }
        ++i;
    }
    return 0;
}

}  // namespace kw::winui
