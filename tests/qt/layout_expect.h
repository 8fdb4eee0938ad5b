#pragma once

#include <QGroupBox>
#include <QTest>
#include <QWidget>

#include <span>

#include "platform/qt/qt_text.h"
#include "tests/qt/twips_expect.h"
#include "ui/layout.h"

namespace kw::test {

// Every row of the table is a widget of its name in its container, at its place, with its font,
// state and (where the table gives them) caption and tooltip. `window` holds the rows with no
// container. Check QTest::currentTestFailed() afterwards.
inline void ExpectLayout(const QWidget& window, std::span<const ui::ControlLayout> rows) {
    for (const ui::ControlLayout& row : rows) {
        const QString name = qt::ToQString(row.name);
        auto* widget = window.findChild<QWidget*>(name);
        QVERIFY2(widget != nullptr, qPrintable(name));
        const QWidget* container = row.container.empty()
                                       ? &window
                                       : window.findChild<QWidget*>(qt::ToQString(row.container));
        QVERIFY2(widget->parentWidget() == container, qPrintable(name));
        const auto& [left, top, width, height] = row.rect;
        QCOMPARE(widget->geometry(), ExpectedPixels(window, left, top, width, height));
        QCOMPARE(widget->font().pointSizeF(), row.font.points);
        QCOMPARE(widget->font().bold(), row.font.bold);
        if (!row.tooltip.empty()) {  // the phone control shows its state instead
            QCOMPARE(widget->toolTip(), qt::ToQString(row.tooltip));
        }
        QCOMPARE(widget->isEnabled(), row.enabled);
        if (!row.caption.empty()) {
            auto* frame = qobject_cast<QGroupBox*>(widget);
            QCOMPARE(frame != nullptr ? frame->title() : widget->property("text").toString(),
                     qt::ToQString(row.caption));
        }
    }
}

}  // namespace kw::test
