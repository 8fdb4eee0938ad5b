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
// The SIP account's captions; the transport choice offers "UDP", "TCP" and "TLS".
inline constexpr std::string_view kSipCheck = "SIP-Konto (Telefonanlage)";
inline constexpr std::string_view kSipServerLabel = "Server:";
inline constexpr std::string_view kSipUserLabel = "Benutzer:";
inline constexpr std::string_view kSipAuthNameLabel = "Authentifizierungsname:";
inline constexpr std::string_view kSipPasswordLabel = "Passwort:";
inline constexpr std::string_view kSipTransportLabel = "Transport:";
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
