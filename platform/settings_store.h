#pragma once

#include <string>
#include <string_view>

#include "platform/failure.h"

namespace kw::platform {

// The per-user store of option texts, addressed by application, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // The stored text, exactly as written. A missing store, application, section or key reads as
    // the empty text; a damaged store yields what can still be read. Never fails, never throws.
    virtual std::string read(std::string_view application, std::string_view section,
                             std::string_view key) = 0;

    // Stores the text, creating application, section and key as needed and replacing an existing
    // value. Returns a failure when the text could not be made durable; the other stored values
    // are then unchanged. Never throws.
    [[nodiscard]] virtual MaybeFailure write(std::string_view application, std::string_view section,
                                             std::string_view key, std::string_view value) = 0;
};

}  // namespace kw::platform
