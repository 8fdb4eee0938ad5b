#include "platform/qt/qt_window_manager.h"

#include <QWidget>

namespace kw::qt {

void QtWindowManager::minimize() {
    window_.setWindowState(window_.windowState() | Qt::WindowMinimized);
}

void QtWindowManager::restore() {
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
}

void QtWindowManager::bringToFront() {
    restore();
    window_.show();
    window_.raise();
    window_.activateWindow();
}

void QtWindowManager::setKeepOnTop(bool onTop) {
    if (window_.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) {
        return;
    }
    // New flags may give the widget a new native window, hidden and placed anew: put back where
    // it was, in the state it had, and show it again only if it was showing.
    const bool wasVisible = window_.isVisible();
    const bool wasActive = window_.isActiveWindow();
    const QPoint position = window_.pos();
    const QSize size = window_.size();
    const Qt::WindowStates state = window_.windowState();

    window_.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    window_.move(position);
    window_.resize(size);
    window_.setWindowState(state);
    if (wasVisible) {
        const bool quiet = window_.testAttribute(Qt::WA_ShowWithoutActivating);
        window_.setAttribute(Qt::WA_ShowWithoutActivating, !wasActive);
        window_.show();
        window_.setAttribute(Qt::WA_ShowWithoutActivating, quiet);
        if (wasActive) {
            window_.activateWindow();
        }
    }
}

}  // namespace kw::qt
