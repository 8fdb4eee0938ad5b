#include "ui/win32/twips.h"

namespace kw::winui {

namespace {

constexpr int kDefaultDpi = 96;

}  // namespace

int WindowDpi(HWND window) {
    const UINT dpi = window != nullptr ? GetDpiForWindow(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : kDefaultDpi;
}

RECT TwipsToRect(const ui::TwipsRect& twips, int dpi, POINT originPixels) {
    return RECT{
        originPixels.x + ui::TwipsToPixels(twips.left, dpi),
        originPixels.y + ui::TwipsToPixels(twips.top, dpi),
        originPixels.x + ui::TwipsToPixels(twips.left + twips.width, dpi),
        originPixels.y + ui::TwipsToPixels(twips.top + twips.height, dpi),
    };
}

SIZE ClientTwipsToPixels(int widthTwips, int heightTwips, int dpi) {
    return SIZE{ui::TwipsToPixels(widthTwips, dpi), ui::TwipsToPixels(heightTwips, dpi)};
}

}  // namespace kw::winui
