#pragma once

#include <QButtonGroup>

namespace kw::qt {

// Tab enters an option group at its selected button, or at its first while none is selected;
// the arrow keys move within the group.
void KeepTabStopAtSelection(QButtonGroup& group);

}  // namespace kw::qt
