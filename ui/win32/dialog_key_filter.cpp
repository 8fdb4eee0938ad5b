#include "ui/win32/dialog_key_filter.h"

namespace kw::winui {

namespace {

// The window property that names a dialog's key handler.
constexpr wchar_t kKeysProperty[] = L"Klingelwart.DialogKeys";

}  // namespace

DialogKeyFilter::DialogKeyFilter()
    : hook_(SetWindowsHookExW(WH_MSGFILTER, &DialogKeyFilter::Filter, nullptr,
                              GetCurrentThreadId())) {}

DialogKeyFilter::~DialogKeyFilter() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
}

void DialogKeyFilter::Route(HWND dialog, DialogKeys* keys) {
    if (keys != nullptr) {
        SetPropW(dialog, kKeysProperty, keys);
    } else {
        RemovePropW(dialog, kKeysProperty);
    }
}

LRESULT CALLBACK DialogKeyFilter::Filter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && lParam != 0) {
        const auto* message = reinterpret_cast<const MSG*>(lParam);
        const bool key = message->message == WM_KEYDOWN || message->message == WM_SYSCHAR;
        HWND root = key && message->hwnd != nullptr ? GetAncestor(message->hwnd, GA_ROOT) : nullptr;
        auto* keys =
            root != nullptr ? static_cast<DialogKeys*>(GetPropW(root, kKeysProperty)) : nullptr;
        if (keys != nullptr && keys->filterKey(*message)) {
            return TRUE;
        }
    }
    // The hook handle is ignored by CallNextHookEx.
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace kw::winui
