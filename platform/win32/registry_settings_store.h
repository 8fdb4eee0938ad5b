#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace kw::win32 {

// The settings store in the registry, where classic Windows programs kept their settings:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, one REG_SZ
// value per key. Names and values cross the wide API as UTF-16.
//
// Reading takes what is there without interpreting it: REG_SZ and REG_EXPAND_SZ exactly (no
// expansion; one terminating NUL dropped, a value without one read as it is), REG_DWORD and
// REG_QWORD as unsigned decimal text, every other type as the empty text. Writing always stores
// REG_SZ, replacing a value of any type. An application, section or key name that is empty or
// holds a NUL, or (application and section) a backslash, would address another place: it reads
// as empty and is refused for writing with 5.
class RegistrySettingsStore final : public platform::SettingsStore {
  public:
    std::string read(std::string_view application, std::string_view section,
                     std::string_view key) override;
    // The values are set one by one. Every name is checked before the first is set; when a later
    // one fails, those set before it get their earlier value (or absence) back. So a failure
    // leaves the section as it was, unless putting back fails as well. The registry has no
    // transaction: another program reading meanwhile, or a crash midway, can see part of it.
    [[nodiscard]] MaybeFailure writeAll(std::string_view application, std::string_view section,
                                        std::span<const platform::SettingsValue> values) override;

    // "Software\VB and VBA Program Settings\<application>\<section>", relative to the user's key.
    static std::wstring keyPath(std::string_view application, std::string_view section);
};

}  // namespace kw::win32
