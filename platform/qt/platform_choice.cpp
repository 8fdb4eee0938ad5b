#include "platform/qt/platform_choice.h"

namespace kw::qt {

std::optional<std::string> PreferredPlatform(const DisplayEnvironment& environment,
                                             std::span<const char* const> arguments) {
    if (!environment.qtQpaPlatform.empty() || environment.display.empty()) {
        return std::nullopt;
    }
    // Qt reads its options after the program name, with one dash or two.
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i] == nullptr ? "" : arguments[i];
        if (argument == "-platform" || argument == "--platform") {
            return std::nullopt;
        }
    }
    if (environment.waylandDisplay.empty()) {
        return "xcb";
    }
    return "xcb;wayland";
}

}  // namespace kw::qt
