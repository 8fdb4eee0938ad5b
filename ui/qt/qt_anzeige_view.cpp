#include "ui/qt/qt_anzeige_view.h"

#include <QCheckBox>
#include <QPushButton>

#include "platform/qt/qt_text.h"
#include "ui/anzeige_layout.h"
#include "ui/qt/control_font.h"
#include "ui/qt/program_icon.h"

namespace kw::qt {

namespace layout = ui::anzeige;

QtAnzeigeView::QtAnzeigeView() {
    layOut(layout::kWindow, layout::kControls);
    controls_->get<QPushButton>(layout::kDefaultButton).setDefault(true);
    controls_->applyTabOrder();
}

void QtAnzeigeView::connectTo(ui::Anzeige& presenter) {
    connectOkCancel(
        controls_->get<QPushButton>(layout::kDefaultButton),
        controls_->get<QPushButton>(layout::kCancelButton), [&presenter] { presenter.okClicked(); },
        [&presenter] { presenter.cancelClicked(); });
}

QCheckBox& QtAnzeigeView::box(ui::AnzeigeCheck which) const {
    return controls_->get<QCheckBox>(which == ui::AnzeigeCheck::Benachrichtigung
                                         ? layout::kNotificationBox
                                         : layout::kAutostartBox);
}

bool QtAnzeigeView::checked(ui::AnzeigeCheck which) {
    return box(which).isChecked();
}

void QtAnzeigeView::setChecked(ui::AnzeigeCheck which, bool on) {
    box(which).setChecked(on);
}

void QtAnzeigeView::setEnabled(ui::AnzeigeCheck which, bool enabled) {
    box(which).setEnabled(enabled);
}

void QtAnzeigeView::close() {
    finish();
}

}  // namespace kw::qt
