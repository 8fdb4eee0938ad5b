#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kw::qt {

// The variables that decide the display system; empty when unset.
struct DisplayEnvironment {
    std::string_view qtQpaPlatform;   // QT_QPA_PLATFORM
    std::string_view display;         // DISPLAY
    std::string_view waylandDisplay;  // WAYLAND_DISPLAY
};

// Qt's platform plugin to ask for, decided before the application object exists. Wayland lets no
// client place its window or keep it on top, so an X server (also XWayland) is preferred when one
// is there, with Wayland as the fallback. Nothing when the user chose (QT_QPA_PLATFORM or
// -platform) or there is no X server: Qt decides then.
std::optional<std::string> PreferredPlatform(const DisplayEnvironment& environment,
                                             std::span<const char* const> arguments);

}  // namespace kw::qt
