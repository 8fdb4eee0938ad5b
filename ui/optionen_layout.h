#pragma once

#include <array>
#include <span>

#include "ui/layout.h"

namespace kw::ui::optionen {

inline constexpr WindowLayout kWindow{"Optionen", "Optionen", 8400, 7110, 2760, 3750};

inline constexpr std::string_view kTabDialog = "TabDialog";
inline constexpr int kTabHeight = 520;
inline constexpr std::array<std::string_view, 2> kTabCaptions{"&Datenbank",
                                                              "&Shell-Anwendung starten"};

// Tab pages give their controls' positions relative to the tab control.
inline constexpr std::array kControls{
    ControlLayout{.name = "Label1",
                  .id = 3001,
                  .rect = {360, 240, 7695, 495},
                  .caption =
                      "Wählen Sie bitte aus, was Klingelwart bei einem eingehenden Anruf "
                      "machen soll. Geben Sie anschliessend die entsprechenden Parameter ein.",
                  .tabIndex = 12},
    ControlLayout{.name = "TabDialog",
                  .id = 3002,
                  .kind = ControlKind::TabControl,
                  .rect = {360, 840, 7695, 3975},
                  .tabIndex = 0},
    ControlLayout{.name = "Label2",
                  .id = 3003,
                  .container = kTabDialog,
                  .tabPage = 0,
                  .rect = {240, 600, 3135, 375},
                  .caption = "Name und Pfad der Datenbank:",
                  .tabIndex = 13},
    ControlLayout{.name = "TXT_Db",
                  .id = 3004,
                  .kind = ControlKind::TextBox,
                  .container = kTabDialog,
                  .tabPage = 0,
                  .rect = {240, 960, 6255, 375},
                  .tabIndex = 1},
    ControlLayout{.name = "BTN_FileSelect",
                  .id = 3005,
                  .kind = ControlKind::Button,
                  .container = kTabDialog,
                  .tabPage = 0,
                  .rect = {6720, 960, 615, 375},
                  .caption = "...",
                  .tabIndex = 20},
    ControlLayout{.name = "Label3",
                  .id = 3006,
                  .container = kTabDialog,
                  .tabPage = 0,
                  .rect = {240, 1560, 6975, 375},
                  .caption = "Prozedur innerhalb der Datenbank, die aufgerufen werden soll:",
                  .tabIndex = 14},
    ControlLayout{.name = "TXT_Proc",
                  .id = 3007,
                  .kind = ControlKind::TextBox,
                  .container = kTabDialog,
                  .tabPage = 0,
                  .rect = {240, 1920, 7095, 375},
                  .tabIndex = 2},
    ControlLayout{.name = "Frame1",
                  .id = 3008,
                  .kind = ControlKind::Frame,
                  .container = kTabDialog,
                  .tabPage = 0,
                  .rect = {240, 2520, 7095, 1095},
                  .caption = "Parameter-Übergabe",
                  .tabIndex = 3},
    ControlLayout{.name = "OPT_NurAnrufer",
                  .id = 3009,
                  .kind = ControlKind::OptionButton,
                  .container = "Frame1",
                  .rect = {120, 240, 2655, 375},
                  .caption = "Nur Anrufer-Nummer",
                  .tabIndex = 4},
    ControlLayout{.name = "OPT_Beide",
                  .id = 3010,
                  .kind = ControlKind::OptionButton,
                  .container = "Frame1",
                  .rect = {120, 600, 3735, 255},
                  .caption = "Anrufer-Nummer und angewählte MSN",
                  .tabIndex = 5},
    ControlLayout{.name = "Label4",
                  .id = 3011,
                  .container = kTabDialog,
                  .tabPage = 1,
                  .rect = {240, 720, 3375, 255},
                  .caption = "Shell-Befehl:",
                  .tabIndex = 15},
    ControlLayout{.name = "TXT_Shell",
                  .id = 3012,
                  .kind = ControlKind::TextBox,
                  .container = kTabDialog,
                  .tabPage = 1,
                  .rect = {240, 1080, 7095, 375},
                  .tabIndex = 6},
    ControlLayout{.name = "BTN_Anrufer",
                  .id = 3013,
                  .kind = ControlKind::Button,
                  .container = kTabDialog,
                  .tabPage = 1,
                  .rect = {240, 1680, 3015, 375},
                  .caption = "Anrufer-&Nummer einfügen",
                  .tabIndex = 7},
    ControlLayout{.name = "BTN_MSN",
                  .id = 3014,
                  .kind = ControlKind::Button,
                  .container = kTabDialog,
                  .tabPage = 1,
                  .rect = {3960, 1680, 3375, 375},
                  .caption = "An&gerufene Nummer einfügen",
                  .tabIndex = 8},
    ControlLayout{.name = "BTN_ShowShell",
                  .id = 3015,
                  .kind = ControlKind::Button,
                  .container = kTabDialog,
                  .tabPage = 1,
                  .rect = {2280, 3000, 2655, 495},
                  .caption = "&Zeige Beispiel-Aufruf",
                  .tabIndex = 9},
    ControlLayout{.name = "Frame2",
                  .id = 3016,
                  .kind = ControlKind::Frame,
                  .rect = {360, 5040, 4095, 1455},
                  .caption = "Start-Verhalten",
                  .tabIndex = 16},
    ControlLayout{.name = "OPT_ShowMinimized",
                  .id = 3017,
                  .kind = ControlKind::OptionButton,
                  .container = "Frame2",
                  .rect = {120, 240, 3735, 375},
                  .caption = "Minimiert starten, beim Anruf anzeigen",
                  .tabIndex = 21},
    ControlLayout{.name = "OPT_ShowNormal",
                  .id = 3018,
                  .kind = ControlKind::OptionButton,
                  .container = "Frame2",
                  .rect = {120, 600, 3735, 375},
                  .caption = "Links oben anzeigen, normaler Fenstermodus",
                  .tabIndex = 22},
    ControlLayout{.name = "OPT_ShowAlways",
                  .id = 3019,
                  .kind = ControlKind::OptionButton,
                  .container = "Frame2",
                  .rect = {120, 960, 3855, 375},
                  .caption = "Immer im Vordergrund links oben anzeigen",
                  .tabIndex = 23},
    ControlLayout{.name = "Frame3",
                  .id = 3020,
                  .kind = ControlKind::Frame,
                  .rect = {4680, 5040, 3375, 1455},
                  .caption = "Parameter-Format",
                  .tabIndex = 17},
    ControlLayout{.name = "OPT_Original",
                  .id = 3021,
                  .kind = ControlKind::OptionButton,
                  .container = "Frame3",
                  .rect = {120, 240, 3135, 375},
                  .caption = "So wie von Phoner erhalten",
                  .tabIndex = 18},
    ControlLayout{.name = "OPT_NurZahlen",
                  .id = 3022,
                  .kind = ControlKind::OptionButton,
                  .container = "Frame3",
                  .rect = {120, 720, 3135, 375},
                  .caption = "Reiner Zahlenstring ohne sonst. Zeichen",
                  .tabIndex = 19},
    ControlLayout{.name = "CancelButton",
                  .id = kCancelId,
                  .kind = ControlKind::Button,
                  .rect = {5520, 6600, 1215, 375},
                  .caption = "&Abbrechen",
                  .tabIndex = 10},
    ControlLayout{.name = "OKButton",
                  .id = kOkId,
                  .kind = ControlKind::Button,
                  .rect = {6840, 6600, 1215, 375},
                  .caption = "&OK",
                  .tabIndex = 11},
};

static_assert(HasDistinctIds(kControls));

// An option button and the number stored for it.
struct OptionValue {
    std::string_view button;
    int value;
};

inline constexpr std::array kParameterOptions{OptionValue{"OPT_NurAnrufer", 0},
                                              OptionValue{"OPT_Beide", 1}};
inline constexpr std::array kStartOptions{OptionValue{"OPT_ShowMinimized", 1},
                                          OptionValue{"OPT_ShowNormal", 2},
                                          OptionValue{"OPT_ShowAlways", 3}};
inline constexpr std::array kFormatOptions{OptionValue{"OPT_Original", 0},
                                           OptionValue{"OPT_NurZahlen", 1}};

// In the order of ui::OptionGroup.
inline constexpr std::array kOptionGroups{std::span<const OptionValue>(kParameterOptions),
                                          std::span<const OptionValue>(kStartOptions),
                                          std::span<const OptionValue>(kFormatOptions)};

// In the order of ui::OptionenText.
inline constexpr std::array kTextBoxes{std::string_view("TXT_Db"), std::string_view("TXT_Proc"),
                                       std::string_view("TXT_Shell")};

consteval bool NamesRowsOf(std::string_view name, ControlKind kind) {
    return RowOf(kControls, name).kind == kind;
}

consteval bool GroupsAndBoxesAreRows() {
    for (std::span<const OptionValue> group : kOptionGroups) {
        for (const OptionValue& option : group) {
            if (!NamesRowsOf(option.button, ControlKind::OptionButton)) {
                return false;
            }
        }
    }
    for (std::string_view box : kTextBoxes) {
        if (!NamesRowsOf(box, ControlKind::TextBox)) {
            return false;
        }
    }
    return true;
}
static_assert(GroupsAndBoxesAreRows());

inline constexpr std::string_view kDefaultButton = "OKButton";
inline constexpr std::string_view kCancelButton = "CancelButton";

inline constexpr std::string_view kFileDialogTitle = "Access Datenbank auswählen";
inline constexpr std::string_view kFileDialogPattern = "*.mdb";

inline constexpr std::string_view kExampleTitle = "Test-Anzeige";

struct CheckMessage {
    std::string_view title;
    std::string_view text;
};

inline constexpr CheckMessage kNoDatabase{"Keine Datenbank ausgewählt",
                                          "Beachten Sie, dass keine Datenbank ausgewählt wurde!"};
inline constexpr CheckMessage kDatabaseMissing{
    "Datenbankpfad existiert nicht",
    "Beachten Sie, dass die Datenbank unter dem ausgewählten Pfad nicht existiert!"};
inline constexpr CheckMessage kNoProcedure{
    "Keine Prozedur ausgewählt",
    "Beachten Sie, dass Sie keine Prozedur innerhalb der Datenbank ausgewählt haben!"};
inline constexpr CheckMessage kNoShellCommand{
    "Kein Shell-Befehl eingegeben",
    "Beachten Sie, dass Sie keine Shell-Anweisung eingegeben haben!"};

// When the file system rejects the path itself; the description follows after a blank line.
inline constexpr std::string_view kDatabaseUncheckableTitle = "Datenbankpfad ungültig";
inline constexpr std::string_view kDatabaseUncheckableText =
    "Der Datenbankpfad kann nicht geprüft werden.";

// When the settings store refuses a write; the failure follows after a blank line.
inline constexpr std::string_view kNotSavedTitle = "Optionen nicht gespeichert";
inline constexpr std::string_view kNotSavedText =
    "Die Optionen konnten nicht vollständig gespeichert werden. Der Dialog bleibt offen.";

}  // namespace kw::ui::optionen
