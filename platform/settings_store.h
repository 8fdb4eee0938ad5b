#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "platform/failure.h"

namespace kw::platform {

// One key of a section and the text to store under it.
struct SettingsValue {
    std::string_view key;
    std::string value;
};

// The per-user store of option texts, addressed by application, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // The stored text, exactly as written. A missing store, application, section or key reads as
    // the empty text; a damaged store yields what can still be read. Never fails, never throws.
    virtual std::string read(std::string_view application, std::string_view section,
                             std::string_view key) = 0;

    // Stores every value of one section in one step, creating application, section and keys as
    // needed and replacing existing values; of a key named twice the last value counts. All or
    // nothing: on a failure none of the stored values has changed (what each store can promise
    // beyond that, against a crash or another writer, its class says). Never throws.
    [[nodiscard]] virtual MaybeFailure writeAll(std::string_view application,
                                                std::string_view section,
                                                std::span<const SettingsValue> values) = 0;

    // writeAll() with one value.
    [[nodiscard]] MaybeFailure write(std::string_view application, std::string_view section,
                                     std::string_view key, std::string_view value) {
        const std::array<SettingsValue, 1> one{{{key, std::string(value)}}};
        return writeAll(application, section, one);
    }
};

}  // namespace kw::platform
