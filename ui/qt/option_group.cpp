#include "ui/qt/option_group.h"

#include <QAbstractButton>

namespace kw::qt {

void KeepTabStopAtSelection(QButtonGroup& group) {
    QAbstractButton* stop = group.checkedButton();
    if (stop == nullptr && !group.buttons().isEmpty()) {
        stop = group.buttons().front();
    }
    for (QAbstractButton* button : group.buttons()) {
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

}  // namespace kw::qt
