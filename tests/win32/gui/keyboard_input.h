#pragma once

#include <initializer_list>

#include "platform/win32/windows_api.h"

namespace kw::win32::gui {

// Presses the keys together, in order, and lets go in reverse, as typed into `window`.
// Posted key messages would not do: accelerators read the modifier state, which only real input
// sets. So the window is brought to the foreground first; false when it does not get there.
bool PressKeys(HWND window, std::initializer_list<WORD> keys);

}  // namespace kw::win32::gui
