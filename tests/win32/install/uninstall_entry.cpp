#include "tests/win32/install/uninstall_entry.h"

#include <vector>

#include "platform/win32/windows_api.h"

namespace kw::win32::install {

namespace {

constexpr REGSAM kView = KEY_WOW64_64KEY;

class OpenKey {
  public:
    OpenKey() {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UninstallEntry::kKeyPath, 0, KEY_READ | kView,
                          &key_) != ERROR_SUCCESS) {
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

bool UninstallEntry::exists() {
    return OpenKey().get() != nullptr;
}

std::map<std::wstring, std::wstring> UninstallEntry::values() {
    std::map<std::wstring, std::wstring> found;
    const OpenKey key;
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
        const std::wstring valueName(name.data(), nameLength);
        std::vector<BYTE> data(size + sizeof(wchar_t));
        size = static_cast<DWORD>(data.size());
        if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr, data.data(), &size) !=
            ERROR_SUCCESS) {
            continue;
        }
        if (type == REG_SZ) {
            found[valueName] = reinterpret_cast<const wchar_t*>(data.data());
        } else if (type == REG_DWORD && size == sizeof(DWORD)) {
            found[valueName] = std::to_wstring(*reinterpret_cast<const DWORD*>(data.data()));
        } else {
            found[valueName] = L"<type " + std::to_wstring(type) + L">";
        }
    }
    return found;
}

void UninstallEntry::remove() {
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, kView, 0);
}

}  // namespace kw::win32::install
