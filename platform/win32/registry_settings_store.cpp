#include "platform/win32/registry_settings_store.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "core/error_numbers.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {

namespace {

class RegistryKey {
  public:
    RegistryKey() = default;
    ~RegistryKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

bool UsableName(std::string_view name, bool mayHoldBackslash) {
    return !name.empty() && name.find('\0') == std::string_view::npos &&
           (mayHoldBackslash || name.find('\\') == std::string_view::npos);
}

bool UsableAddress(std::string_view application, std::string_view section, std::string_view key) {
    // A backslash in a value name is an ordinary character; in a key name it opens a subkey.
    return UsableName(application, false) && UsableName(section, false) && UsableName(key, true);
}

// The raw data of a value, read again while it grows between the size query and the read.
bool QueryValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        // Room for a terminator the stored data may lack, and a little for growth.
        data.resize(static_cast<std::size_t>(size) + sizeof(wchar_t) * 2);
        DWORD capacity = static_cast<DWORD>(data.size());
        status = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &capacity);
        if (status == ERROR_SUCCESS) {
            data.resize(capacity);
            return true;
        }
        size = capacity > size ? capacity : size * 2 + 64;
    }
    return false;
}

std::string TextOf(DWORD type, const std::vector<BYTE>& data) {
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ: {
            std::wstring text(data.size() / sizeof(wchar_t), L'\0');
            std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
            if (!text.empty() && text.back() == L'\0') {
                text.pop_back();
            }
            return WideToUtf8(text);
        }
        case REG_DWORD: {
            std::uint32_t number = 0;
            if (data.size() != sizeof(number)) {
                return {};
            }
            std::memcpy(&number, data.data(), sizeof(number));
            return std::to_string(number);
        }
        case REG_QWORD: {
            std::uint64_t number = 0;
            if (data.size() != sizeof(number)) {
                return {};
            }
            std::memcpy(&number, data.data(), sizeof(number));
            return std::to_string(number);
        }
        default:
            return {};
    }
}

// A value as it was before a write, to put back when a later value of the same write fails.
struct Earlier {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

void Restore(HKEY key, const std::wstring& name, const Earlier& earlier) {
    if (!earlier.present) {
        RegDeleteValueW(key, name.c_str());
        return;
    }
    RegSetValueExW(key, name.c_str(), 0, earlier.type, earlier.data.data(),
                   static_cast<DWORD>(earlier.data.size()));
}

Failure RegistryFailure(LSTATUS status) {
    return FailureFromWin32(static_cast<std::uint32_t>(status), kw::error::kPathFileAccess);
}

}  // namespace

std::wstring RegistrySettingsStore::keyPath(std::string_view application,
                                            std::string_view section) {
    return L"Software\\VB and VBA Program Settings\\" + Utf8ToWide(application) + L"\\" +
           Utf8ToWide(section);
}

std::string RegistrySettingsStore::read(std::string_view application, std::string_view section,
                                        std::string_view key) {
    try {
        if (!UsableAddress(application, section, key)) {
            return {};
        }
        RegistryKey opened;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(application, section).c_str(), 0,
                          KEY_QUERY_VALUE, opened.out()) != ERROR_SUCCESS) {
            return {};
        }
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
        if (!QueryValue(opened.get(), Utf8ToWide(key), type, data)) {
            return {};
        }
        return TextOf(type, data);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

MaybeFailure RegistrySettingsStore::writeAll(std::string_view application, std::string_view section,
                                             std::span<const platform::SettingsValue> values) {
    try {
        // Everything that can be refused is checked before the first value changes.
        struct Planned {
            std::wstring name;
            std::wstring text;
            Earlier earlier;
        };
        std::vector<Planned> planned;
        planned.reserve(values.size());
        for (const platform::SettingsValue& entry : values) {
            if (!UsableAddress(application, section, entry.key)) {
                return MakeFailure(kw::error::kInvalidCall);
            }
            std::wstring text = Utf8ToWide(entry.value);
            if ((text.size() + 1) * sizeof(wchar_t) > 0xFFFFFFFFu) {
                return MakeFailure(kw::error::kOutOfMemory);
            }
            planned.push_back({Utf8ToWide(entry.key), std::move(text), {}});
        }
        if (planned.empty()) {
            return std::nullopt;
        }
        RegistryKey created;
        LSTATUS status =
            RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(application, section).c_str(), 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr,
                            created.out(), nullptr);
        if (status != ERROR_SUCCESS) {
            return RegistryFailure(status);
        }
        for (Planned& value : planned) {
            value.earlier.present =
                QueryValue(created.get(), value.name, value.earlier.type, value.earlier.data);
        }
        for (std::size_t done = 0; done < planned.size(); ++done) {
            const Planned& value = planned[done];
            status = RegSetValueExW(created.get(), value.name.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.text.c_str()),
                                    static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
            if (status != ERROR_SUCCESS) {
                for (std::size_t undo = done; undo-- > 0;) {
                    Restore(created.get(), planned[undo].name, planned[undo].earlier);
                }
                return RegistryFailure(status);
            }
        }
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return MakeFailure(kw::error::kOutOfMemory);
    }
}

}  // namespace kw::win32
