#pragma once

#include <string>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/layout.h"

namespace kw::winui {

// The fonts of one window's controls, made once per style and DPI and deleted with the cache.
// The window must destroy its controls (or give them other fonts) before the cache goes.
class ControlFonts {
  public:
    ControlFonts() = default;
    ~ControlFonts();
    ControlFonts(const ControlFonts&) = delete;
    ControlFonts& operator=(const ControlFonts&) = delete;

    // Never null: when the face cannot be made, the stock GUI font stands in.
    HFONT get(const ui::FontStyle& style, int dpi);

    // The LOGFONT height for a point size: negative, so it is the character height without the
    // internal leading, as a designer's point size means.
    static LONG height(double points, int dpi);

  private:
    struct Entry {
        std::wstring face;
        double points;
        bool bold;
        int dpi;
        HFONT font;
    };
    std::vector<Entry> entries_;
};

}  // namespace kw::winui
