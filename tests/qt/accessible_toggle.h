#pragma once

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QWidget>

namespace kw::test {

// What a screen reader does to a check box or option button: its toggle action, no click.
inline bool ToggleAccessibly(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    QAccessibleActionInterface* actions =
        accessible == nullptr ? nullptr : accessible->actionInterface();
    if (actions == nullptr ||
        !actions->actionNames().contains(QAccessibleActionInterface::toggleAction())) {
        return false;
    }
    actions->doAction(QAccessibleActionInterface::toggleAction());
    return true;
}

}  // namespace kw::test
