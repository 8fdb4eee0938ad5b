#pragma once

#include "platform/win32/windows_api.h"
#include "platform/window_manager.h"

namespace kw::win32 {

// The main window's placement through user32, bound to its HWND (not owned).
//
// setKeepOnTop changes only the z-order band (SWP_NOMOVE | SWP_NOSIZE) and does not activate the
// window (SWP_NOACTIVATE): it is applied at start and after the options dialog, where taking the
// focus from another program, or from the dialog's owner, is not wanted. restore() is the one
// that shows the window normally.
class Win32WindowManager final : public platform::WindowManager {
  public:
    explicit Win32WindowManager(HWND window) : window_(window) {}

    void minimize() override;
    void restore() override;
    void setKeepOnTop(bool onTop) override;
    void bringToFront() override;

  private:
    HWND window_;
};

}  // namespace kw::win32
