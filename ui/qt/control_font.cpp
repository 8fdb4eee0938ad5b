#include "ui/qt/control_font.h"

#include <QApplication>
#include <QStringList>

namespace kw::qt {

QFont ControlFont(const ui::FontStyle& style) {
    QFont font = QApplication::font();
    // The designer's face is a Windows bitmap font that no Linux desktop has, and asking for it
    // costs a fontconfig search at every start. Faces with the metrics of a Windows sans serif
    // come first, then the desktop's own; slightly narrowed, since all of them run wider than
    // the face the fixed control sizes were made for.
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QApplication::font().family()});
    font.setPointSizeF(style.points);
    font.setBold(style.bold);
    font.setStretch(88);
    return font;
}

}  // namespace kw::qt
