#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace kw::qt {

// The settings store as one INI file per user. Applications map to files: this store serves the
// one application it was made for and reads every other as empty. Sections and keys map to INI
// sections and keys. Every text written reads back exactly.
//
// A damaged file yields what can be read; before the first write replaces it, it is kept as a
// backup beside it (see backupPath()). So is a file whose comments or repeated keys the rewrite
// would drop, as "<file>.bak". Anything but a regular file of at most kMaxFileBytes reads as
// empty; a write over such a file that is no regular file fails.
class IniSettingsStore final : public platform::SettingsStore {
  public:
    // Some hundred bytes in use; a larger file is no settings file and keeps the start slow.
    static constexpr std::size_t kMaxFileBytes = std::size_t{1024} * 1024;

    IniSettingsStore(std::string application, std::filesystem::path file);
    ~IniSettingsStore() override;

    IniSettingsStore(const IniSettingsStore&) = delete;
    IniSettingsStore& operator=(const IniSettingsStore&) = delete;

    std::string read(std::string_view application, std::string_view section,
                     std::string_view key) override;
    // One rewrite of the file for all values, made durable and put in place by an atomic
    // rename: after a failure or a crash the file holds all of them or none.
    [[nodiscard]] MaybeFailure writeAll(std::string_view application, std::string_view section,
                                        std::span<const platform::SettingsValue> values) override;

    // $XDG_CONFIG_HOME/<application>.conf, or ~/.config/<application>.conf when that is unset,
    // empty or not absolute.
    static std::filesystem::path defaultPath(std::string_view application);

    // The last backup made; before any, where a damaged file will be kept.
    std::filesystem::path backupPath() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kw::qt
