#pragma once

#include <array>
#include <string_view>

#include "ui/layout.h"

namespace kw::ui::anzeige {

inline constexpr std::string_view kTitle = "Anzeige und Start";

inline constexpr WindowLayout kWindow{"Anzeige", "Anzeige und Start", 6000, 1620, 2760, 3750};
inline constexpr std::array kControls{
    ControlLayout{.name = "CHK_Benachrichtigung",
                  .id = 5101,
                  .kind = ControlKind::CheckBox,
                  .rect = {240, 240, 5520, 315},
                  .caption = "Bei jedem Anruf eine Benachrichtigung zeigen",
                  .tabIndex = 0},
    ControlLayout{.name = "CHK_Autostart",
                  .id = 5102,
                  .kind = ControlKind::CheckBox,
                  .rect = {240, 600, 5520, 315},
                  .caption = "Klingelwart beim Anmelden starten",
                  .tabIndex = 1},
    ControlLayout{.name = "CancelButton",
                  .id = kCancelId,
                  .kind = ControlKind::Button,
                  .rect = {3240, 1080, 1215, 375},
                  .caption = "&Abbrechen",
                  .tabIndex = 2},
    ControlLayout{.name = "OKButton",
                  .id = kOkId,
                  .kind = ControlKind::Button,
                  .rect = {4560, 1080, 1215, 375},
                  .caption = "&OK",
                  .tabIndex = 3},
};
static_assert(HasDistinctIds(kControls));

inline constexpr std::string_view kNotificationBox = "CHK_Benachrichtigung";
inline constexpr std::string_view kAutostartBox = "CHK_Autostart";
inline constexpr std::string_view kDefaultButton = "OKButton";
inline constexpr std::string_view kCancelButton = "CancelButton";

// When a change cannot be kept; the failure follows after a blank line. The dialog stays open.
inline constexpr std::string_view kNotSavedText =
    "Die Einstellung konnte nicht gespeichert werden. Der Dialog bleibt offen.";
inline constexpr std::string_view kAutostartText =
    "Der Start beim Anmelden konnte nicht geändert werden. Der Dialog bleibt offen.";

}  // namespace kw::ui::anzeige
