#include "platform/win32/tray_notifier.h"

#include <shellapi.h>

#include <cwchar>
#include <string>
#include <utility>

#include "platform/win32/wide_text.h"

namespace kw::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"KlingelwartTray";
constexpr UINT kIconId = 1;

NOTIFYICONDATAW IconData(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kIconId;
    return data;
}

// Copies as much as fits, never half a surrogate pair, with "…" where it had to cut.
template <std::size_t N>
void CopyShortened(wchar_t (&target)[N], const std::wstring& text) {
    std::wstring shown = text;
    if (shown.size() >= N) {
        std::size_t keep = N - 2;
        if (keep > 0 && shown[keep - 1] >= 0xD800 && shown[keep - 1] <= 0xDBFF) {
            --keep;
        }
        shown = shown.substr(0, keep) + L"\u2026";
    }
    wcsncpy(target, shown.c_str(), N - 1);
    target[N - 1] = L'\0';
}

}  // namespace

TrayNotifier::TrayNotifier(HICON icon, Handlers handlers)
    : icon_(icon), handlers_(std::move(handlers)) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &TrayNotifier::windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when the class exists already
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    // A top-level window that is never shown: message-only windows miss the TaskbarCreated
    // broadcast.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"Klingelwart", WS_POPUP, 0, 0, 0, 0,
                              nullptr, nullptr, windowClass.hInstance, this);
    report(addIcon());
}

TrayNotifier::~TrayNotifier() {
    if (window_ != nullptr) {
        if (added_) {
            NOTIFYICONDATAW data = IconData(window_);
            Shell_NotifyIconW(NIM_DELETE, &data);
        }
        // No handler may run from here on.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

bool TrayNotifier::addIcon() {
    if (window_ == nullptr) {
        return false;
    }
    NOTIFYICONDATAW data = IconData(window_);
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP | NIF_SHOWTIP;
    data.uCallbackMessage = kIconMessage;
    data.hIcon = icon_;
    CopyShortened(data.szTip, L"Klingelwart");
    // An icon left from a crashed run of this window cannot exist, but one from an Explorer
    // that restarted may: replace rather than fail.
    Shell_NotifyIconW(NIM_DELETE, &data);
    added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    if (added_) {
        data.uVersion = NOTIFYICON_VERSION_4;
        Shell_NotifyIconW(NIM_SETVERSION, &data);
    }
    return added_;
}

void TrayNotifier::show(std::string_view summary, std::string_view body,
                        std::string_view /*actionCaption*/) {
    if (!added_ && !addIcon()) {
        report(false);
        return;
    }
    NOTIFYICONDATAW data = IconData(window_);
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_INFO;
    CopyShortened(data.szInfoTitle, Utf8ToWide(summary));
    CopyShortened(data.szInfo, Utf8ToWide(body));
    report(Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE);
}

void TrayNotifier::withdraw() {
    if (!added_) {
        return;
    }
    // An empty text takes the balloon away and leaves the icon.
    NOTIFYICONDATAW data = IconData(window_);
    data.uFlags = NIF_INFO;
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TrayNotifier::report(bool available) {
    if (reported_ == static_cast<int>(available)) {
        return;
    }
    reported_ = static_cast<int>(available);
    if (handlers_.onStatus) {
        handlers_.onStatus(
            {available, available ? std::string()
                                  : std::string("Keine Benachrichtigungen: Der Infobereich der "
                                                "Taskleiste ist nicht erreichbar.")});
    }
}

LRESULT CALLBACK TrayNotifier::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (auto* self =
                   reinterpret_cast<TrayNotifier*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
        return self->handle(window, message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TrayNotifier::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        report(addIcon());
        return 0;
    }
    if (message == kIconMessage) {
        switch (LOWORD(lParam)) {
            case NIN_BALLOONUSERCLICK:
            case NIN_SELECT:
            case NIN_KEYSELECT:
            case WM_LBUTTONUP:
                if (handlers_.onActivated) {
                    handlers_.onActivated();
                }
                break;
            default:
                break;
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace kw::win32
