#pragma once

namespace kw::platform {

// The window manager's operations on the main window, bound to that window. None of them moves
// or resizes it. Results are not reported: the start placement is a wish, not a check.
class WindowManager {
  public:
    virtual ~WindowManager() = default;

    virtual void minimize() = 0;
    // Back from minimized to the normal state.
    virtual void restore() = 0;
    // Keeps the window above all others, or ends that.
    virtual void setKeepOnTop(bool onTop) = 0;
    // Shows the window in front with the focus, restored if minimized. Only ever because the user
    // asked (a click on a notification): the program never comes forward by itself.
    virtual void bringToFront() = 0;
};

}  // namespace kw::platform
