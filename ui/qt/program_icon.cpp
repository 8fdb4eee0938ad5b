#include "ui/qt/program_icon.h"

#include "ui/qt/bell_image.h"
#include "ui/qt/bell_pixels.h"

namespace kw::qt {

QPixmap ProgramPixmap(int pixels) {
    return QPixmap::fromImage(BellImage(pixels));
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const BellPixels& bell : kBellIcon) {
        // Pixels drawn by the build: drawing them here would load the painter's path code.
        const QImage image(reinterpret_cast<const uchar*>(bell.data), bell.pixels, bell.pixels,
                           QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace kw::qt
