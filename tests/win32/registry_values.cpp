#include "tests/win32/registry_values.h"

#include <vector>

namespace kw::win32::test {

namespace {

class OpenKey {
  public:
    OpenKey(HKEY root, const wchar_t* path, REGSAM view) {
        if (RegOpenKeyExW(root, path, 0, KEY_READ | view, &key_) != ERROR_SUCCESS) {
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

std::optional<std::map<std::wstring, std::wstring>> RegistryValues(HKEY root, const wchar_t* path,
                                                                   REGSAM view) {
    const OpenKey key(root, path, view);
    if (key.get() == nullptr) {
        return std::nullopt;
    }
    std::map<std::wstring, std::wstring> found;
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
        // One character more, so that a string stored without its terminator still ends.
        std::vector<BYTE> data(size + sizeof(wchar_t));
        size = static_cast<DWORD>(data.size());
        if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr, data.data(), &size) !=
            ERROR_SUCCESS) {
            continue;
        }
        if (type == REG_SZ) {
            found[valueName] = reinterpret_cast<const wchar_t*>(data.data());
        } else if (type == REG_DWORD && size == sizeof(DWORD)) {
            found[valueName] =
                L"dword:" + std::to_wstring(*reinterpret_cast<const DWORD*>(data.data()));
        } else {
            found[valueName] = L"<type " + std::to_wstring(type) + L">";
        }
    }
    return found;
}

}  // namespace kw::win32::test
