#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "ui/layout.h"

class QScreen;

namespace kw::qt {

// The layout tables' twips as pixels of one screen, at its logical dots per inch. Qt already
// scales logical pixels to the device, so no device pixel ratio enters here.
class TwipsScale {
  public:
    explicit TwipsScale(double dotsPerInch) : dotsPerInch_(dotsPerInch) {}

    // The screen's scale, or the primary screen's when `screen` is null.
    static TwipsScale of(const QScreen* screen);

    double dotsPerInch() const { return dotsPerInch_; }
    int pixels(int twips) const { return ui::TwipsToPixels(twips, dotsPerInch_); }
    QPoint point(int left, int top) const { return {pixels(left), pixels(top)}; }
    QSize size(int width, int height) const { return {pixels(width), pixels(height)}; }
    QRect rect(const ui::TwipsRect& rect) const {
        return {point(rect.left, rect.top), size(rect.width, rect.height)};
    }

  private:
    double dotsPerInch_;
};

// The top left corner of the screen a window opens on (the primary screen when null).
QPoint ScreenOrigin(const QScreen* screen);

}  // namespace kw::qt
