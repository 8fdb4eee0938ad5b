#pragma once

#include <QFont>

#include "ui/layout.h"

namespace kw::qt {

// The table's size and weight in a face with Windows metrics where the desktop has one (the
// designer's own face does not exist on Linux), else in the desktop's face.
QFont ControlFont(const ui::FontStyle& layout);

}  // namespace kw::qt
