#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/win32/windows_api.h"

namespace kw::win32::test {

// Every value of a key as text: REG_SZ as is, REG_DWORD as "dword:<decimal>", anything else
// "<type N>", so that a value of the wrong type shows as such. Empty when the key does
// not open. `view` picks the 32- or 64-bit view (KEY_WOW64_*), 0 the process's own.
std::optional<std::map<std::wstring, std::wstring>> RegistryValues(HKEY root, const wchar_t* path,
                                                                   REGSAM view = 0);

}  // namespace kw::win32::test
