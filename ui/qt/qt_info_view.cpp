#include "ui/qt/qt_info_view.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "platform/qt/qt_text.h"
#include "ui/info_layout.h"
#include "ui/qt/program_icon.h"

namespace kw::qt {

namespace layout = ui::info;

namespace {

constexpr QRgb kEtchedGrey = qRgb(128, 128, 128);

}  // namespace

QtInfoView::QtInfoView() : scale_(layOut(layout::kWindow, layout::kControls)) {
    controls_->get<QLabel>("picIcon").setPixmap(ProgramPixmap(layout::kIconPixels));
    controls_->get<QLabel>("picIcon").setAlignment(Qt::AlignCenter);
    auto& ok = controls_->get<QPushButton>("cmdOK");
    ok.setDefault(true);
    ok.setFocus(Qt::OtherFocusReason);
    controls_->applyTabOrder();
}

void QtInfoView::connectTo(ui::Info& presenter) {
    presenter_ = &presenter;
    connect(&controls_->get<QPushButton>("cmdOK"), &QPushButton::clicked, this,
            [&presenter] { presenter.okClicked(); });
}

void QtInfoView::setCaption(std::string_view text) {
    setWindowTitle(ToQString(text));
}

void QtInfoView::setVersionText(std::string_view text) {
    controls_->get<QLabel>("lblVersion").setText(DisplayText(text));
}

void QtInfoView::close() {
    QDialog::accept();
}

void QtInfoView::reject() {
    if (presenter_ != nullptr) {
        presenter_->okClicked();
    } else {
        QDialog::reject();
    }
}

void QtInfoView::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    const int y = scale_.pixels(layout::kLineY);
    const int left = scale_.pixels(layout::kLineLeft);
    // The white line, two pixels wide, lies under the grey one and shows below it.
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(left, y + 1.0),
                     QPointF(scale_.pixels(layout::kWhiteLineRight), y + 1.0));
    painter.setPen(QPen(QColor(kEtchedGrey), 1, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(left, y, scale_.pixels(layout::kGreyLineRight), y);
}

}  // namespace kw::qt
