#include "tests/win32/install/uninstall_entry.h"

#include "platform/win32/windows_api.h"
#include "tests/win32/registry_values.h"

namespace kw::win32::install {

namespace {

// Apps & Features reads the 64-bit view.
constexpr REGSAM kView = KEY_WOW64_64KEY;

}  // namespace

bool UninstallEntry::exists() {
    return test::RegistryValues(HKEY_LOCAL_MACHINE, kKeyPath, kView).has_value();
}

std::map<std::wstring, std::wstring> UninstallEntry::values() {
    return test::RegistryValues(HKEY_LOCAL_MACHINE, kKeyPath, kView)
        .value_or(std::map<std::wstring, std::wstring>{});
}

void UninstallEntry::remove() {
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, kView, 0);
}

}  // namespace kw::win32::install
