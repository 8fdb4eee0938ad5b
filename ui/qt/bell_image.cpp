#include "ui/qt/bell_image.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace kw::qt {

namespace {

constexpr QRgb kBrass = qRgb(0xf2, 0xb7, 0x05);
constexpr QRgb kBrassShade = qRgb(0xc7, 0x8a, 0x00);
constexpr QRgb kOutline = qRgb(0x5d, 0x40, 0x00);

}  // namespace

QImage BellImage(int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = pixels;
    auto at = [s](double x, double y) { return QPointF(x * s, y * s); };

    QPainterPath bell;
    bell.moveTo(at(0.50, 0.10));
    bell.cubicTo(at(0.74, 0.10), at(0.76, 0.32), at(0.77, 0.50));
    bell.cubicTo(at(0.78, 0.64), at(0.84, 0.70), at(0.92, 0.76));
    bell.lineTo(at(0.08, 0.76));
    bell.cubicTo(at(0.16, 0.70), at(0.22, 0.64), at(0.23, 0.50));
    bell.cubicTo(at(0.24, 0.32), at(0.26, 0.10), at(0.50, 0.10));
    bell.closeSubpath();

    QLinearGradient fill(at(0.2, 0.0), at(0.8, 0.0));
    fill.setColorAt(0.0, QColor(kBrass));
    fill.setColorAt(1.0, QColor(kBrassShade));
    painter.setPen(QPen(QColor(kOutline), std::max(1.0, s / 24.0)));
    painter.setBrush(fill);
    painter.drawPath(bell);
    // Clapper under the rim and the knob on top.
    painter.setBrush(QColor(kBrassShade));
    painter.drawEllipse(at(0.50, 0.84), s * 0.09, s * 0.09);
    painter.drawEllipse(at(0.50, 0.08), s * 0.05, s * 0.05);
    painter.end();
    return image;
}

}  // namespace kw::qt
