#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

// A control of a view under test by its objectName; a missing one ends the test program, since
// every check after it would only fail the same way.
template <class W = QWidget>
W* FindControl(const QObject& view, const QString& name) {
    W* widget = view.findChild<W*>(name);
    if (widget == nullptr) {
        qFatal("no control %s", qPrintable(name));
    }
    return widget;
}
