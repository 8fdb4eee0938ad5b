#pragma once

#include "platform/win32/windows_api.h"

#include <string>

namespace kw::test {

// The module this code is linked into: the substitute's DLL, or the program itself.
HMODULE OwnModule();
// The full file name of OwnModule().
std::wstring OwnModulePath();

}  // namespace kw::test
