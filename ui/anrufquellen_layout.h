#pragma once

#include <array>
#include <string_view>

#include "ui/layout.h"

namespace kw::ui::anrufquellen {

inline constexpr std::string_view kTitle = "Anrufquellen";

inline constexpr std::string_view kNoHost =
    "Bitte geben Sie den Namen oder die Adresse des Routers ein.";
inline constexpr std::string_view kBadPort =
    "Der Port des Anrufmonitors muss eine Zahl von 1 bis 65535 sein.";
// When the settings store refuses a write; the failure follows after a blank line.
inline constexpr std::string_view kNotSavedText =
    "Die Anrufquellen konnten nicht vollständig gespeichert werden. Der Dialog bleibt offen.";

}  // namespace kw::ui::anrufquellen
