#pragma once

#include <string_view>

#include "platform/win32/windows_api.h"

namespace kw::winui {

// One tooltip window for the controls of a window. The texts are shown as they are: "&" stays
// "&", since they may carry caller data. The tip window is not owned by the window, so it goes
// with this object; destroy it before the window.
class Tooltips {
  public:
    explicit Tooltips(HWND owner);
    ~Tooltips();
    Tooltips(const Tooltips&) = delete;
    Tooltips& operator=(const Tooltips&) = delete;

    // False when the tooltip window or the tool could not be made.
    bool add(HWND control, std::string_view text);
    void setText(HWND control, std::string_view text);

    HWND window() const { return tooltip_; }

  private:
    HWND owner_;
    HWND tooltip_ = nullptr;
};

}  // namespace kw::winui
