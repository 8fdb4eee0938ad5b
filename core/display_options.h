#pragma once

#include <string_view>

#include "core/failure.h"
#include "platform/settings_store.h"

namespace kw {

// How the program makes itself noticed. Whether it starts with the session is not kept here:
// the autostart entry itself is the only record of that.
struct DisplayOptions {
    bool Benachrichtigung = false;  // a desktop notification for every call

    friend bool operator==(const DisplayOptions&, const DisplayOptions&) = default;
};

inline constexpr std::string_view kDisplaySection = "Anzeige";
inline constexpr std::string_view kNotificationKey = "Benachrichtigung";

// "1" switches notifications on; anything else, a missing key included, leaves them off, so
// nothing changes for users who never opened the dialog.
DisplayOptions LoadDisplayOptions(platform::SettingsStore& store);

[[nodiscard]] MaybeFailure WriteDisplayOptions(platform::SettingsStore& store,
                                               const DisplayOptions& options);

}  // namespace kw
