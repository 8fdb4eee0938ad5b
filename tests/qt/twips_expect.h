#pragma once

#include <QRect>
#include <QScreen>
#include <QWidget>

#include "ui/layout.h"

namespace kw::test {

// Where a rectangle given in twips lands in pixels on the widget's screen.
inline QRect ExpectedPixels(const QWidget& widget, int left, int top, int width, int height) {
    const double dpi = widget.screen()->logicalDotsPerInch();
    return {ui::TwipsToPixels(left, dpi), ui::TwipsToPixels(top, dpi),
            ui::TwipsToPixels(width, dpi), ui::TwipsToPixels(height, dpi)};
}

inline int ExpectedPixels(const QWidget& widget, int twips) {
    return ui::TwipsToPixels(twips, widget.screen()->logicalDotsPerInch());
}

}  // namespace kw::test
