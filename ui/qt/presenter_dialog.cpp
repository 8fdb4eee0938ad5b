#include "ui/qt/presenter_dialog.h"

#include <QPushButton>

#include <utility>

namespace kw::qt {

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
