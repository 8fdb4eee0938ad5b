#include "tests/win32/gui/options_registry.h"

#include "platform/win32/windows_api.h"
#include "tests/win32/registry_values.h"

namespace kw::win32::gui {

namespace {

constexpr wchar_t kApplicationKey[] = L"Software\\VB and VBA Program Settings\\Klingelwart";

}  // namespace

OptionsRegistry::OptionsRegistry() {
    clear();
}

OptionsRegistry::~OptionsRegistry() {
    clear();
}

void OptionsRegistry::clear() const {
    RegDeleteTreeW(HKEY_CURRENT_USER, kApplicationKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kApplicationKey);
}

bool OptionsRegistry::set(const std::wstring& name, const std::wstring& value) const {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetKeyValueW(HKEY_CURRENT_USER, kKeyPath, name.c_str(), REG_SZ, value.c_str(),
                           bytes) == ERROR_SUCCESS;
}

std::map<std::wstring, std::wstring> OptionsRegistry::values() const {
    return test::RegistryValues(HKEY_CURRENT_USER, kKeyPath)
        .value_or(std::map<std::wstring, std::wstring>{});
}

std::optional<std::wstring> OptionsRegistry::value(const std::wstring& name) const {
    const auto all = values();
    const auto it = all.find(name);
    if (it == all.end()) {
        return std::nullopt;
    }
    return it->second;
}

}  // namespace kw::win32::gui
