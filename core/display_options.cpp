#include "core/display_options.h"

#include "core/app_options.h"

namespace kw {

DisplayOptions LoadDisplayOptions(platform::SettingsStore& store) {
    return {.Benachrichtigung =
                store.read(kApplicationName, kDisplaySection, kNotificationKey) == "1"};
}

MaybeFailure WriteDisplayOptions(platform::SettingsStore& store, const DisplayOptions& options) {
    return store.write(kApplicationName, kDisplaySection, kNotificationKey,
                       options.Benachrichtigung ? "1" : "0");
}

}  // namespace kw
