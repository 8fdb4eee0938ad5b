#pragma once

#include "platform/win32/windows_api.h"

namespace kw::test::phone {

class CallConnectionPoint;

// The substitute control's window: paints a small telephone and rings on WM_COPYDATA (see
// substitute_phone_protocol.h).
class PhoneWindow {
  public:
    // A child of `parent` at `box`; `calls` must outlive the window.
    static HWND Create(HWND parent, const RECT& box, CallConnectionPoint* calls);

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void Paint(HWND window);
    static LRESULT Ring(CallConnectionPoint& calls, const COPYDATASTRUCT* data);
};

}  // namespace kw::test::phone
