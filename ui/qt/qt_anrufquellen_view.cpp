#include "ui/qt/qt_anrufquellen_view.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <utility>

#include "platform/qt/qt_text.h"
#include "ui/anrufquellen_layout.h"
#include "ui/qt/control_font.h"
#include "ui/qt/option_group.h"
#include "ui/qt/program_icon.h"

namespace kw::qt {

namespace layout = ui::anrufquellen;

namespace {

constexpr std::array<std::pair<std::string_view, SipTransport>, 3> kTransports{
    {{"OPT_UDP", SipTransport::Udp},
     {"OPT_TCP", SipTransport::Tcp},
     {"OPT_TLS", SipTransport::Tls}}};

}  // namespace

QtAnrufquellenView::QtAnrufquellenView() {
    layOut(layout::kLinuxWindow, layout::kLinuxControls);
    box(ui::SourceText::SIPPasswort).setPlaceholderText(ToQString(layout::kSipPasswordPlaceholder));
    box(ui::SourceText::SIPZertifikat)
        .setPlaceholderText(ToQString(layout::kSipCertificatePlaceholder));
    for (const auto& [name, transport] : kTransports) {
        transports_.addButton(&controls_->get<QRadioButton>(name), static_cast<int>(transport));
    }
    KeepTabStopAtSelection(transports_);
    connect(&transports_, &QButtonGroup::buttonToggled, this,
            [this] { KeepTabStopAtSelection(transports_); });
    controls_->get<QPushButton>(layout::kDefaultButton).setDefault(true);
    controls_->applyTabOrder();
}

void QtAnrufquellenView::connectTo(ui::Anrufquellen& presenter) {
    // The state, not the click: a screen reader's toggle action changes it without a click.
    for (const ui::ControlLayout& row : layout::kLinuxControls) {
        if (row.kind == ui::ControlKind::CheckBox) {
            const ui::SourceCheck check{row.name};
            connect(&controls_->get<QCheckBox>(row.name), &QCheckBox::toggled, this,
                    [&presenter, check] { presenter.checkClicked(check); });
        }
    }
    connectOkCancel(
        controls_->get<QPushButton>(layout::kDefaultButton),
        controls_->get<QPushButton>(layout::kCancelButton), [&presenter] { presenter.okClicked(); },
        [&presenter] { presenter.cancelClicked(); });
}

QCheckBox* QtAnrufquellenView::box(ui::SourceCheck which) const {
    return findChild<QCheckBox*>(ToQString(which.name));
}

QLineEdit& QtAnrufquellenView::box(ui::SourceText which) const {
    return controls_->get<QLineEdit>(which.name);
}

bool QtAnrufquellenView::checked(ui::SourceCheck which) {
    QCheckBox* check = box(which);
    return check != nullptr && check->isChecked();
}

void QtAnrufquellenView::setChecked(ui::SourceCheck which, bool on) {
    if (QCheckBox* check = box(which)) {
        check->setChecked(on);
    }
}

std::string QtAnrufquellenView::text(ui::SourceText which) {
    return ToUtf8(box(which).text());
}

void QtAnrufquellenView::setText(ui::SourceText which, std::string_view text) {
    box(which).setText(ToQString(text));
}

void QtAnrufquellenView::setTextEnabled(ui::SourceText which, bool enabled) {
    box(which).setEnabled(enabled);
}

void QtAnrufquellenView::focus(ui::SourceText which) {
    box(which).setFocus(Qt::OtherFocusReason);
}

SipTransport QtAnrufquellenView::transport() {
    const int id = transports_.checkedId();
    return id < 0 ? SipTransport::Udp : static_cast<SipTransport>(id);
}

void QtAnrufquellenView::setTransport(SipTransport transport) {
    if (QAbstractButton* button = transports_.button(static_cast<int>(transport))) {
        button->setChecked(true);
    }
}

void QtAnrufquellenView::setTransportEnabled(bool enabled) {
    for (QAbstractButton* button : transports_.buttons()) {
        button->setEnabled(enabled);
    }
}

void QtAnrufquellenView::close() {
    finish();
}

}  // namespace kw::qt
