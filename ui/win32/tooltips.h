#pragma once

#include <string_view>

#include "platform/win32/windows_api.h"

namespace kw::winui {

// One tooltip window for the controls of a window. The texts are shown as they are: "&" stays
// "&", since they may carry caller data. Destroy it before its owner window goes, or let the
// owner's destruction take it (then the destructor finds nothing left to destroy).
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
