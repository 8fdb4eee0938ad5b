#pragma once

#include <QImage>

namespace kw::qt {

// The program's bell, drawn at the given size in pixels. Needs no application object, so that
// the build can draw the window icon ahead.
QImage BellImage(int pixels);

}  // namespace kw::qt
