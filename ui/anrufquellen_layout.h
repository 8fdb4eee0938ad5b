#pragma once

#include <array>
#include <string_view>

#include "ui/layout.h"

namespace kw::ui::anrufquellen {

inline constexpr std::string_view kTitle = "Anrufquellen";

// The phone control exists on Windows only and the SIP account on Linux only, so each system has
// its own table; the rows they share are written once.
namespace row {
inline constexpr ControlLayout Steuerelement{.name = "CHK_Steuerelement",
                                             .id = 5001,
                                             .kind = ControlKind::CheckBox,
                                             .rect = {240, 240, 5520, 315},
                                             .caption = "Softphone-Steuerelement",
                                             .tabIndex = 0};
inline constexpr ControlLayout KlingelwartRing{
    .name = "CHK_KlingelwartRing",
    .id = 5002,
    .kind = ControlKind::CheckBox,
    .rect = {240, 600, 5520, 315},
    .caption = "klingelwart-ring (Befehl aus Softphone oder Telefonanlage)",
    .tabIndex = 1};
inline constexpr ControlLayout Router{.name = "CHK_Router",
                                      .id = 5003,
                                      .kind = ControlKind::CheckBox,
                                      .rect = {240, 960, 5520, 315},
                                      .caption = "Anrufmonitor des Routers",
                                      .tabIndex = 2};
inline constexpr ControlLayout RouterHostLabel{
    .name = "LBL_RouterHost", .id = 5004, .rect = {600, 1380, 1620, 315}, .caption = "Adresse:"};
inline constexpr ControlLayout RouterHost{.name = "TXT_RouterHost",
                                          .id = 5005,
                                          .kind = ControlKind::TextBox,
                                          .rect = {2280, 1320, 3480, 375},
                                          .tabIndex = 3};
inline constexpr ControlLayout RouterPortLabel{
    .name = "LBL_RouterPort", .id = 5006, .rect = {600, 1800, 1620, 315}, .caption = "Port:"};
inline constexpr ControlLayout RouterPort{.name = "TXT_RouterPort",
                                          .id = 5007,
                                          .kind = ControlKind::TextBox,
                                          .rect = {2280, 1740, 1035, 375},
                                          .tabIndex = 4};
inline constexpr ControlLayout Cancel{.name = "CancelButton",
                                      .id = kCancelId,
                                      .kind = ControlKind::Button,
                                      .caption = "&Abbrechen",
                                      .tabIndex = 20};
inline constexpr ControlLayout Ok{
    .name = "OKButton", .id = kOkId, .kind = ControlKind::Button, .caption = "&OK", .tabIndex = 21};

// A row moved down by `twips`, for the tables that leave a row out above it.
constexpr ControlLayout Down(ControlLayout row, int twips) {
    row.rect.top += twips;
    return row;
}
constexpr ControlLayout At(ControlLayout row, TwipsRect rect) {
    row.rect = rect;
    return row;
}
}  // namespace row

inline constexpr WindowLayout kWindowsWindow{"Anrufquellen", "Anrufquellen", 6000,
                                             2940,           2760,           3750};
inline constexpr std::array kWindowsControls{
    row::Steuerelement,
    row::KlingelwartRing,
    row::Router,
    row::RouterHostLabel,
    row::RouterHost,
    row::RouterPortLabel,
    row::RouterPort,
    row::At(row::Cancel, {3240, 2400, 1215, 375}),
    row::At(row::Ok, {4560, 2400, 1215, 375}),
};

inline constexpr WindowLayout kLinuxWindow{"Anrufquellen", "Anrufquellen", 6000, 5520, 2760, 3750};
inline constexpr std::array kLinuxControls{
    row::Down(row::KlingelwartRing, -360),
    row::Down(row::Router, -360),
    row::Down(row::RouterHostLabel, -360),
    row::Down(row::RouterHost, -360),
    row::Down(row::RouterPortLabel, -360),
    row::Down(row::RouterPort, -360),
    ControlLayout{.name = "CHK_SIP",
                  .id = 5010,
                  .kind = ControlKind::CheckBox,
                  .rect = {240, 1920, 5520, 315},
                  .caption = "SIP-Konto (Telefonanlage)",
                  .tabIndex = 5},
    ControlLayout{
        .name = "LBL_SIPServer", .id = 5011, .rect = {600, 2340, 1620, 315}, .caption = "Server:"},
    ControlLayout{.name = "TXT_SIPServer",
                  .id = 5012,
                  .kind = ControlKind::TextBox,
                  .rect = {2280, 2280, 3480, 375},
                  .tabIndex = 6},
    ControlLayout{.name = "LBL_SIPBenutzer",
                  .id = 5013,
                  .rect = {600, 2760, 1620, 315},
                  .caption = "Benutzer:"},
    ControlLayout{.name = "TXT_SIPBenutzer",
                  .id = 5014,
                  .kind = ControlKind::TextBox,
                  .rect = {2280, 2700, 3480, 375},
                  .tabIndex = 7},
    ControlLayout{.name = "LBL_SIPAuthName",
                  .id = 5015,
                  .rect = {600, 3180, 1620, 315},
                  .caption = "Authentifizierungsname:"},
    ControlLayout{.name = "TXT_SIPAuthName",
                  .id = 5016,
                  .kind = ControlKind::TextBox,
                  .rect = {2280, 3120, 3480, 375},
                  .tabIndex = 8},
    ControlLayout{.name = "LBL_SIPPasswort",
                  .id = 5017,
                  .rect = {600, 3600, 1620, 315},
                  .caption = "Passwort:"},
    ControlLayout{.name = "TXT_SIPPasswort",
                  .id = 5018,
                  .kind = ControlKind::TextBox,
                  .rect = {2280, 3540, 3480, 375},
                  .tabIndex = 9,
                  .password = true},
    ControlLayout{.name = "LBL_SIPTransport",
                  .id = 5019,
                  .rect = {600, 4020, 1620, 315},
                  .caption = "Transport:"},
    ControlLayout{.name = "OPT_UDP",
                  .id = 5020,
                  .kind = ControlKind::OptionButton,
                  .rect = {2280, 3990, 975, 375},
                  .caption = "UDP",
                  .tabIndex = 10},
    ControlLayout{.name = "OPT_TCP",
                  .id = 5021,
                  .kind = ControlKind::OptionButton,
                  .rect = {3300, 3990, 975, 375},
                  .caption = "TCP",
                  .tabIndex = 11},
    ControlLayout{.name = "OPT_TLS",
                  .id = 5022,
                  .kind = ControlKind::OptionButton,
                  .rect = {4320, 3990, 975, 375},
                  .caption = "TLS",
                  .tabIndex = 12},
    ControlLayout{.name = "LBL_SIPZertifikat",
                  .id = 5023,
                  .rect = {600, 4440, 1620, 315},
                  .caption = "Zertifikat:"},
    ControlLayout{.name = "TXT_SIPZertifikat",
                  .id = 5024,
                  .kind = ControlKind::TextBox,
                  .rect = {2280, 4380, 3480, 375},
                  .tabIndex = 13},
    row::At(row::Cancel, {3240, 4980, 1215, 375}),
    row::At(row::Ok, {4560, 4980, 1215, 375}),
};

static_assert(HasDistinctIds(kWindowsControls));
static_assert(HasDistinctIds(kLinuxControls));

inline constexpr std::string_view kDefaultButton = "OKButton";
inline constexpr std::string_view kCancelButton = "CancelButton";

inline constexpr std::string_view kNoHost =
    "Bitte geben Sie den Namen oder die Adresse des Routers ein.";
inline constexpr std::string_view kBadPort =
    "Der Port des Anrufmonitors muss eine Zahl von 1 bis 65535 sein.";
// The SIP account's captions; the transport choice offers "UDP", "TCP" and "TLS".
inline constexpr std::string_view kSipCheck = "SIP-Konto (Telefonanlage)";
inline constexpr std::string_view kSipServerLabel = "Server:";
inline constexpr std::string_view kSipUserLabel = "Benutzer:";
inline constexpr std::string_view kSipAuthNameLabel = "Authentifizierungsname:";
inline constexpr std::string_view kSipPasswordLabel = "Passwort:";
inline constexpr std::string_view kSipTransportLabel = "Transport:";
// Shown in the empty certificate box; only TLS uses it.
inline constexpr std::string_view kSipCertificatePlaceholder =
    "SHA-256 eines selbst signierten Zertifikats";
inline constexpr std::string_view kBadSipCertificate =
    "Der Fingerabdruck des Zertifikats muss aus 32 Paaren von Hexadezimalziffern bestehen "
    "(SHA-256), wie der Tooltip ihn nennt.";
// Shown in the empty password box: the stored password is never read just to be displayed.
inline constexpr std::string_view kSipPasswordPlaceholder = "leer lassen: gespeichertes Passwort";

inline constexpr std::string_view kNoSipServer = "Bitte geben Sie den SIP-Server ein.";
inline constexpr std::string_view kNoSipUser = "Bitte geben Sie den SIP-Benutzernamen ein.";
inline constexpr std::string_view kNoSipPassword = "Bitte geben Sie das SIP-Passwort ein.";
// When the desktop has no safe place for the password; the reason follows after a blank line.
inline constexpr std::string_view kNoSafeStore =
    "Das SIP-Passwort kann nicht sicher gespeichert werden. SIP bleibt ausgeschaltet.";
inline constexpr std::string_view kNoSecretStoreHere =
    "Dieses System bietet keinen sicheren Speicher für Passwörter.";

// When the settings store refuses a write; the failure follows after a blank line.
inline constexpr std::string_view kNotSavedText =
    "Die Anrufquellen konnten nicht vollständig gespeichert werden. Der Dialog bleibt offen.";

}  // namespace kw::ui::anrufquellen
