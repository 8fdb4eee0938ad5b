#pragma once

#include <array>
#include <string_view>

#include "core/call_list_row.h"
#include "ui/layout.h"

namespace kw::ui::anrufliste {

inline constexpr std::string_view kTitle = "Anrufliste";

inline constexpr WindowLayout kWindow{"Anrufliste", "Anrufliste", 10080, 5400, 1440, 1440};

// Close answers Esc; Enter runs the action through the list, not through a default button.
inline constexpr std::array kControls{
    ControlLayout{.name = "LST_Anrufe",
                  .id = 5201,
                  .kind = ControlKind::ListView,
                  .rect = {120, 120, 9840, 4140},
                  .tabIndex = 0},
    ControlLayout{.name = "CHK_NurVerpasste",
                  .id = 5202,
                  .kind = ControlKind::CheckBox,
                  .rect = {120, 4380, 3000, 315},
                  .caption = "Nur &verpasste",
                  .tabIndex = 1},
    ControlLayout{.name = "BTN_Ausfuehren",
                  .id = 5203,
                  .kind = ControlKind::Button,
                  .rect = {120, 4860, 1500, 375},
                  .caption = "&Ausführen",
                  .tabIndex = 2},
    ControlLayout{.name = "BTN_Kopieren",
                  .id = 5204,
                  .kind = ControlKind::Button,
                  .rect = {1740, 4860, 1620, 375},
                  .caption = "Nummer &kopieren",
                  .tabIndex = 3},
    ControlLayout{.name = "BTN_Loeschen",
                  .id = 5205,
                  .kind = ControlKind::Button,
                  .rect = {3480, 4860, 1500, 375},
                  .caption = "&Löschen",
                  .tabIndex = 4},
    ControlLayout{.name = "BTN_Leeren",
                  .id = 5206,
                  .kind = ControlKind::Button,
                  .rect = {5100, 4860, 1500, 375},
                  .caption = "Liste l&eeren ...",
                  .tabIndex = 5},
    ControlLayout{.name = "BTN_Exportieren",
                  .id = 5207,
                  .kind = ControlKind::Button,
                  .rect = {6720, 4860, 1620, 375},
                  .caption = "E&xportieren ...",
                  .tabIndex = 6},
    ControlLayout{.name = "CancelButton",
                  .id = kCancelId,
                  .kind = ControlKind::Button,
                  .rect = {8460, 4860, 1500, 375},
                  .caption = "&Schließen",
                  .tabIndex = 7},
};

static_assert(HasDistinctIds(kControls));

// The list's column widths in twips, by kCallListColumns: room for the time and a name with its
// number.
inline constexpr std::array<int, kCallListColumns.size()> kColumnWidths{2100, 3300, 1500, 1800,
                                                                        1050};

inline constexpr std::string_view kList = "LST_Anrufe";
inline constexpr std::string_view kOnlyMissed = "CHK_NurVerpasste";
inline constexpr std::string_view kRun = "BTN_Ausfuehren";
inline constexpr std::string_view kCopy = "BTN_Kopieren";
inline constexpr std::string_view kDelete = "BTN_Loeschen";
inline constexpr std::string_view kClear = "BTN_Leeren";
inline constexpr std::string_view kExport = "BTN_Exportieren";
inline constexpr std::string_view kClose = "CancelButton";

// Where the newest call the user has seen in the list is kept, under kApplicationName.
inline constexpr std::string_view kSeenSection = "Anrufliste";
inline constexpr std::string_view kSeenKey = "Gesehen";

inline constexpr std::string_view kClearQuestion =
    "Möchten Sie wirklich alle Anrufe aus der Liste löschen?";
inline constexpr std::string_view kExportTitle = "Anrufliste exportieren";
inline constexpr std::string_view kExportFileName = "Anrufliste.csv";
inline constexpr std::string_view kExportFilter = "*.csv";
// The reason follows after a blank line.
inline constexpr std::string_view kExportFailed = "Die Anrufliste konnte nicht exportiert werden.";
inline constexpr std::string_view kNotChanged = "Die Anrufliste konnte nicht geändert werden.";

}  // namespace kw::ui::anrufliste
