#pragma once

#include "platform/win32/windows_api.h"

namespace kw::win32::test {

// A plain top-level window that is never shown.
class HiddenWindow {
  public:
    HiddenWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KlingelwartTestWindow";
        RegisterClassW(&windowClass);  // already there for the second window: fine
        window_ =
            CreateWindowExW(0, windowClass.lpszClassName, L"Klingelwart Test", WS_OVERLAPPEDWINDOW,
                            10, 20, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~HiddenWindow() {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
    }
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;

    HWND get() const { return window_; }

  private:
    HWND window_ = nullptr;
};

}  // namespace kw::win32::test
