#include "platform/win32/win32_window_manager.h"

namespace kw::win32 {

void Win32WindowManager::minimize() {
    ShowWindow(window_, SW_MINIMIZE);
}

void Win32WindowManager::restore() {
    ShowWindow(window_, SW_RESTORE);
}

void Win32WindowManager::bringToFront() {
    if (IsIconic(window_)) {
        ShowWindow(window_, SW_RESTORE);
    }
    // Allowed: the click on the notification gave this process the right to come forward.
    SetForegroundWindow(window_);
}

void Win32WindowManager::setKeepOnTop(bool onTop) {
    SetWindowPos(window_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace kw::win32
