#pragma once

#include "platform/win32/windows_api.h"

namespace kw::winui {

// Takes the place of a telephone control that cannot run: a plain static child that draws a
// grey telephone, crossed out, so that the window keeps its layout and the user sees why.
class CrossedPhoneBox {
  public:
    // The new child window, owned by the caller; null when even that cannot be made.
    static HWND Create(HWND parent, int controlId, const RECT& box);

    // Green and not crossed while calls arrive through another source.
    static void SetReceiving(HWND box, bool receiving);

  private:
    static LRESULT CALLBACK Paint(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR subclass, DWORD_PTR data);
};

}  // namespace kw::winui
