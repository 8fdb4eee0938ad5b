#include "ui/win32/tooltips.h"

#include <string>

#include "platform/win32/wide_text.h"

#include <commctrl.h>

namespace kw::winui {

namespace {

// Long texts wrap at this width instead of running across the screen.
constexpr int kMaxTipWidth = 400;

// The tool takes a C string, so an embedded NUL ends the text there.
std::wstring CString(std::string_view text) {
    std::wstring wide = win32::Utf8ToWide(text);
    if (const std::size_t end = wide.find(L'\0'); end != std::wstring::npos) {
        wide.erase(end);
    }
    return wide;
}

TTTOOLINFOW ToolFor(HWND owner, HWND control, std::wstring& text) {
    TTTOOLINFOW tool{};
    // The smallest size every common controls version accepts.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    return tool;
}

}  // namespace

Tooltips::Tooltips(HWND owner) : owner_(owner) {
    // Not owned by the window: Wine keeps no window on top while it owns another one, and the
    // tip is a topmost window of its own anyway.
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (tooltip_ != nullptr) {
        SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    }
}

Tooltips::~Tooltips() {
    if (tooltip_ != nullptr && IsWindow(tooltip_)) {
        DestroyWindow(tooltip_);
    }
}

bool Tooltips::add(HWND control, std::string_view text) {
    if (tooltip_ == nullptr || control == nullptr) {
        return false;
    }
    std::wstring wide = CString(text);
    TTTOOLINFOW tool = ToolFor(owner_, control, wide);
    return SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

void Tooltips::setText(HWND control, std::string_view text) {
    if (tooltip_ == nullptr || control == nullptr) {
        return;
    }
    std::wstring wide = CString(text);
    TTTOOLINFOW tool = ToolFor(owner_, control, wide);
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace kw::winui
