#pragma once

#include <string_view>

#include "platform/win32/windows_api.h"

namespace kw::winui {

// Measures texts in a label's current font, on the label's own device context, for as long as
// this object lives.
class LabelTextWidth {
  public:
    explicit LabelTextWidth(HWND label);
    ~LabelTextWidth();
    LabelTextWidth(const LabelTextWidth&) = delete;
    LabelTextWidth& operator=(const LabelTextWidth&) = delete;

    // Pixels of UTF-8 text on one line; 0 without a device context.
    int operator()(std::string_view text) const;

    // Pixels inside the label's border.
    int available() const;

  private:
    HWND label_;
    HDC dc_ = nullptr;
    HGDIOBJ previousFont_ = nullptr;
};

}  // namespace kw::winui
