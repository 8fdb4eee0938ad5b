#include "ui/qt/phone_control_widget.h"

#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>

#include <algorithm>

#include "core/receiving_status.h"
#include "platform/qt/qt_text.h"

namespace kw::qt {

namespace {

constexpr QRgb kListeningColour = qRgb(0x1e, 0x7d, 0x32);
constexpr QRgb kIdleColour = qRgb(0x9e, 0x9e, 0x9e);
constexpr QRgb kCrossColour = qRgb(0xc6, 0x28, 0x28);

// A desk telephone: the handset across the top, the body with its dial below.
void DrawTelephone(QPainter& painter, const QRectF& box, const QColor& colour) {
    const double s = box.width();
    auto at = [&box, s](double x, double y) { return QPointF(box.x() + x * s, box.y() + y * s); };
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);

    QPainterPath handset;
    handset.moveTo(at(0.04, 0.42));
    handset.cubicTo(at(0.04, 0.08), at(0.96, 0.08), at(0.96, 0.42));
    handset.lineTo(at(0.72, 0.42));
    handset.lineTo(at(0.68, 0.30));
    handset.cubicTo(at(0.56, 0.24), at(0.44, 0.24), at(0.32, 0.30));
    handset.lineTo(at(0.28, 0.42));
    handset.closeSubpath();
    painter.drawPath(handset);

    QPainterPath body;
    body.moveTo(at(0.30, 0.40));
    body.lineTo(at(0.70, 0.40));
    body.lineTo(at(0.92, 0.90));
    body.lineTo(at(0.08, 0.90));
    body.closeSubpath();
    painter.drawPath(body);

    painter.setBrush(Qt::white);
    painter.drawEllipse(at(0.50, 0.66), s * 0.12, s * 0.12);
}

}  // namespace

PhoneControlWidget::PhoneControlWidget(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setToolTip(ToQString(kNotYetReceiving));
}

void PhoneControlWidget::showStatus(bool receiving, std::string_view tooltip) {
    receiving_ = receiving;
    // The lines carry what servers say; Qt would render one that looks like markup.
    const QString text = ToQString(tooltip);
    setToolTip(Qt::mightBeRichText(text)
                   ? "<p style=\"white-space:pre\">" + text.toHtmlEscaped() + "</p>"
                   : text);
    update();
}

void PhoneControlWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height());
    const QRectF box((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    DrawTelephone(painter, box, QColor(receiving_ ? kListeningColour : kIdleColour));
    if (!receiving_) {
        QPen cross(QColor(kCrossColour), std::max(1.5, side / 10.0), Qt::SolidLine, Qt::RoundCap);
        painter.setPen(cross);
        const double inset = side * 0.18;
        const QRectF x = box.adjusted(inset, inset, -inset, -inset);
        painter.drawLine(x.topLeft(), x.bottomRight());
        painter.drawLine(x.topRight(), x.bottomLeft());
    }
}

}  // namespace kw::qt
