#pragma once

// The one way into <windows.h> for the Win32 backends and their tests. <windows.h> defines
// MessageBox as a macro (MessageBoxW), which would silently rename kw::platform::MessageBox in
// every translation unit that includes it before platform/message_box.h; the backends call the
// W functions by their full names, so the macro goes.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef MessageBox
