#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace kw {

// The seven user options, zero until LoadOptions has read the store.
struct AppOptions {
    bool DoJob = false;         // true: shell action; false: database action
    bool Formatierung = false;  // remove "(", ")" and " " from the numbers before the action
    std::int16_t Start = 0;     // 1 minimized, 2 normal, 3 on top; 0 until a valid value was read
    bool Parameter = false;     // the database procedure also receives the called number
    std::string Database;
    std::string Procedure;
    std::string Shell;

    friend bool operator==(const AppOptions&, const AppOptions&) = default;
};

inline constexpr std::string_view kApplicationName = "Klingelwart";
inline constexpr std::string_view kOptionsSection = "Options";

namespace key {
inline constexpr std::string_view kDoJob = "DoJob";
inline constexpr std::string_view kDatabase = "Database";
inline constexpr std::string_view kProcedure = "Procedure";
inline constexpr std::string_view kShell = "Shell";
inline constexpr std::string_view kParameter = "Parameter";
inline constexpr std::string_view kStart = "Start";
inline constexpr std::string_view kFormatierung = "Formatierung";
}  // namespace key

// Refreshes every option from the store. Comparisons are exact and case-sensitive with no
// trimming; Start changes only when "1", "2" or "3" is stored.
void LoadOptions(platform::SettingsStore& store, AppOptions& options);

// Writes one option text under the program's application name and section.
[[nodiscard]] MaybeFailure WriteOption(platform::SettingsStore& store, std::string_view key,
                                       std::string_view value);

// Writes several option texts there in one step: all or none.
[[nodiscard]] MaybeFailure WriteOptions(platform::SettingsStore& store,
                                        std::span<const platform::SettingsValue> values);

}  // namespace kw
