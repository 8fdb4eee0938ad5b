#pragma once

#include <array>
#include <string_view>

#include "ui/layout.h"

namespace kw::ui::telefonbuecher {

inline constexpr std::string_view kTitle = "Telefonbücher";

// The boxes and buttons the presenter names, by ui::BookText and ui::BookButton.
inline constexpr std::array<std::string_view, 5> kTextNames{"TXT_Landesvorwahl", "TXT_Ortsvorwahl",
                                                            "TXT_CardDAV", "TXT_CardDAVBenutzer",
                                                            "TXT_CardDAVPasswort"};
inline constexpr std::array<std::string_view, 3> kButtonNames{"BTN_Entfernen", "BTN_Oben",
                                                              "BTN_Unten"};

inline constexpr WindowLayout kWindow{"Telefonbuecher", "Telefonbücher", 7200, 6600, 2760, 3000};

// "Nach &oben" would share its key with "&Ordner" and "&OK".
inline constexpr std::array kControls{
    ControlLayout{.name = "LBL_Dateien",
                  .id = 6001,
                  .rect = {240, 240, 6720, 315},
                  .caption = "Dateien und Ordner, in dieser Reihenfolge durchsucht:"},
    ControlLayout{.name = "LST_Dateien",
                  .id = 6002,
                  .kind = ControlKind::ListBox,
                  .rect = {240, 600, 4680, 2055},
                  .tabIndex = 0},
    ControlLayout{.name = "BTN_Datei",
                  .id = 6003,
                  .kind = ControlKind::Button,
                  .rect = {5040, 600, 1935, 375},
                  .caption = "&Datei hinzufügen ...",
                  .tabIndex = 1},
    ControlLayout{.name = "BTN_Ordner",
                  .id = 6004,
                  .kind = ControlKind::Button,
                  .rect = {5040, 1020, 1935, 375},
                  .caption = "&Ordner hinzufügen ...",
                  .tabIndex = 2},
    ControlLayout{.name = "BTN_Entfernen",
                  .id = 6005,
                  .kind = ControlKind::Button,
                  .rect = {5040, 1440, 1935, 375},
                  .caption = "&Entfernen",
                  .tabIndex = 3},
    ControlLayout{.name = "BTN_Oben",
                  .id = 6006,
                  .kind = ControlKind::Button,
                  .rect = {5040, 1860, 1935, 375},
                  .caption = "Nach o&ben",
                  .tabIndex = 4},
    ControlLayout{.name = "BTN_Unten",
                  .id = 6007,
                  .kind = ControlKind::Button,
                  .rect = {5040, 2280, 1935, 375},
                  .caption = "Nach &unten",
                  .tabIndex = 5},
    ControlLayout{.name = "LBL_Landesvorwahl",
                  .id = 6008,
                  .rect = {240, 2880, 1620, 315},
                  .caption = "Landesvorwahl:"},
    ControlLayout{.name = "TXT_Landesvorwahl",
                  .id = 6009,
                  .kind = ControlKind::TextBox,
                  .rect = {1920, 2820, 735, 375},
                  .tabIndex = 6},
    ControlLayout{.name = "LBL_Ortsvorwahl",
                  .id = 6010,
                  .rect = {3000, 2880, 1380, 315},
                  .caption = "Ortsvorwahl:"},
    ControlLayout{.name = "TXT_Ortsvorwahl",
                  .id = 6011,
                  .kind = ControlKind::TextBox,
                  .rect = {4440, 2820, 1035, 375},
                  .tabIndex = 7},
    ControlLayout{.name = "LBL_CardDAV",
                  .id = 6012,
                  .rect = {240, 3360, 1620, 315},
                  .caption = "CardDAV-Adresse:"},
    ControlLayout{.name = "TXT_CardDAV",
                  .id = 6013,
                  .kind = ControlKind::TextBox,
                  .rect = {1920, 3300, 5040, 375},
                  .tabIndex = 8},
    ControlLayout{.name = "LBL_CardDAVBenutzer",
                  .id = 6014,
                  .rect = {240, 3780, 1620, 315},
                  .caption = "Benutzer:"},
    ControlLayout{.name = "TXT_CardDAVBenutzer",
                  .id = 6015,
                  .kind = ControlKind::TextBox,
                  .rect = {1920, 3720, 2700, 375},
                  .tabIndex = 9},
    ControlLayout{.name = "LBL_CardDAVPasswort",
                  .id = 6016,
                  .rect = {240, 4200, 1620, 315},
                  .caption = "Passwort:"},
    ControlLayout{.name = "TXT_CardDAVPasswort",
                  .id = 6017,
                  .kind = ControlKind::TextBox,
                  .rect = {1920, 4140, 2700, 375},
                  .tabIndex = 10,
                  .password = true},
    // One line per book: how many numbers it gave, or why it could not be read.
    ControlLayout{.name = "LBL_Status", .id = 6018, .rect = {240, 4680, 6720, 1200}},
    ControlLayout{.name = "CancelButton",
                  .id = kCancelId,
                  .kind = ControlKind::Button,
                  .rect = {4440, 6060, 1215, 375},
                  .caption = "&Abbrechen",
                  .tabIndex = 20},
    ControlLayout{.name = "OKButton",
                  .id = kOkId,
                  .kind = ControlKind::Button,
                  .rect = {5760, 6060, 1215, 375},
                  .caption = "&OK",
                  .tabIndex = 21},
};

static_assert(HasDistinctIds(kControls));

inline constexpr std::string_view kDefaultButton = "OKButton";
inline constexpr std::string_view kCancelButton = "CancelButton";
inline constexpr std::string_view kFileList = "LST_Dateien";
inline constexpr std::string_view kStatus = "LBL_Status";

inline constexpr std::string_view kAddFileTitle = "Telefonbuch hinzufügen";
inline constexpr std::string_view kAddFileFilter = "Telefonbücher (*.vcf *.xml *.csv)";
inline constexpr std::string_view kAddFolderTitle = "Ordner mit Telefonbüchern hinzufügen";
inline constexpr std::string_view kPasswordPlaceholder = "leer lassen: gespeichertes Passwort";

inline constexpr std::string_view kBadCountryCode =
    "Die Landesvorwahl muss aus einer bis drei Ziffern bestehen (zum Beispiel 49).";
inline constexpr std::string_view kBadAreaCode =
    "Die Ortsvorwahl darf nur Ziffern enthalten (zum Beispiel 030), oder sie bleibt leer.";
inline constexpr std::string_view kBadCardDavAddress =
    "Die CardDAV-Adresse muss mit https:// oder http:// beginnen.";
inline constexpr std::string_view kNoCardDavUser = "Bitte geben Sie den CardDAV-Benutzernamen ein.";
inline constexpr std::string_view kNoCardDavPassword = "Bitte geben Sie das CardDAV-Passwort ein.";
// The reason follows after a blank line.
inline constexpr std::string_view kNoSafeStore =
    "Das CardDAV-Passwort kann nicht sicher gespeichert werden.";
inline constexpr std::string_view kNoSecretStoreHere =
    "Dieses System bietet keinen sicheren Speicher für Passwörter.";
inline constexpr std::string_view kNotSavedText =
    "Die Telefonbücher konnten nicht vollständig gespeichert werden. Der Dialog bleibt offen.";
inline constexpr std::string_view kNoDialog = "Das Auswahlfenster konnte nicht angezeigt werden.";

}  // namespace kw::ui::telefonbuecher
