#pragma once

#include "platform/win32/windows_api.h"
#include "ui/layout.h"

namespace kw::winui {

// The window's dots per inch; 96 when Windows cannot tell (no window, or a system without
// per-window DPI).
int WindowDpi(HWND window);

// A layout rectangle in pixels, shifted by the container's origin. Each edge is rounded on its
// own (right = left + width, bottom = top + height, both in twips), so controls that touch in
// the layout touch in pixels too and never overlap by a rounding pixel.
RECT TwipsToRect(const ui::TwipsRect& twips, int dpi, POINT originPixels = {});

// A client area of the given twips size in pixels.
SIZE ClientTwipsToPixels(int widthTwips, int heightTwips, int dpi);

}  // namespace kw::winui
