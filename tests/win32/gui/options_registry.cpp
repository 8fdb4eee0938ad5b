#include "tests/win32/gui/options_registry.h"

#include <vector>

#include "platform/win32/windows_api.h"

namespace kw::win32::gui {

namespace {

constexpr wchar_t kApplicationKey[] = L"Software\\VB and VBA Program Settings\\Klingelwart";

// Closes an opened registry key.
class OpenKey {
  public:
    explicit OpenKey(const wchar_t* path) {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~OpenKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

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
    std::map<std::wstring, std::wstring> found;
    const OpenKey key(kKeyPath);
    if (key.get() == nullptr) {
        return found;
    }
    for (DWORD index = 0;; ++index) {
        std::vector<wchar_t> name(16384);
        auto nameLength = static_cast<DWORD>(name.size());
        DWORD type = REG_NONE;
        DWORD size = 0;
        if (RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr, &type, nullptr,
                          &size) != ERROR_SUCCESS) {
            break;
        }
        std::wstring valueName(name.data(), nameLength);
        if (type != REG_SZ) {
            found[valueName] = L"<type " + std::to_wstring(type) + L">";
            continue;
        }
        std::vector<wchar_t> data(size / sizeof(wchar_t) + 1);
        size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        RegGetValueW(key.get(), nullptr, valueName.c_str(), RRF_RT_REG_SZ, nullptr, data.data(),
                     &size);
        found[valueName] = data.data();
    }
    return found;
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
