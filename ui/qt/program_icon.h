#pragma once

#include <QIcon>
#include <QPixmap>

namespace kw::qt {

// The program's bell, drawn at the given size in pixels.
QPixmap ProgramPixmap(int pixels);

// The window icon: the bell at 16 and 48 pixels, as the build drew it.
QIcon ProgramIcon();

}  // namespace kw::qt
