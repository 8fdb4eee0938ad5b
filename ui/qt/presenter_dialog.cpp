#include "ui/qt/presenter_dialog.h"

#include <QPushButton>

#include <utility>

#include "platform/qt/qt_text.h"
#include "ui/qt/control_font.h"
#include "ui/qt/program_icon.h"

namespace kw::qt {

TwipsScale PresenterDialog::layOut(const ui::WindowLayout& window,
                                   std::span<const ui::ControlLayout> table) {
    setObjectName(ToQString(window.name));
    setWindowTitle(ToQString(window.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    setModal(true);
    setSizeGripEnabled(false);
    setFont(ControlFont({}));

    const TwipsScale scale = TwipsScale::of(screen());
    const QSize client = scale.size(window.clientWidth, window.clientHeight);
    setFixedSize(client);
    controls_.emplace(*this, table, scale);
    setGeometry(
        QRect(ScreenOrigin(screen()) + scale.point(window.screenLeft, window.screenTop), client));
    return scale;
}

void PresenterDialog::connectOkCancel(QPushButton& ok, QPushButton& cancel,
                                      std::function<void()> onOk, std::function<void()> onCancel) {
    onCancel_ = std::move(onCancel);
    connect(&cancel, &QPushButton::clicked, this, [this] { onCancel_(); });
    connect(&ok, &QPushButton::clicked, this, [this, onOk = std::move(onOk)] {
        inOk_ = true;
        onOk();
        inOk_ = false;
    });
}

void PresenterDialog::finish() {
    if (inOk_) {
        QDialog::accept();
    } else {
        QDialog::reject();
    }
}

void PresenterDialog::reject() {
    if (onCancel_) {
        onCancel_();
    } else {
        QDialog::reject();
    }
}

}  // namespace kw::qt
