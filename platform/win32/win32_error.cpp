#include "platform/win32/win32_error.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "core/error_numbers.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <winhttp.h>

namespace kw::win32 {

namespace {

struct Win32Text {
    std::uint32_t code;
    std::string_view text;
};

// Sorted by code. The wording follows German Windows where it has a text for the code.
constexpr Win32Text kWin32Texts[] = {
    {ERROR_INVALID_FUNCTION, "Unzulässige Funktion"},
    {ERROR_FILE_NOT_FOUND, "Das System kann die angegebene Datei nicht finden"},
    {ERROR_PATH_NOT_FOUND, "Das System kann den angegebenen Pfad nicht finden"},
    {ERROR_TOO_MANY_OPEN_FILES, "Das System kann die Datei nicht öffnen"},
    {ERROR_ACCESS_DENIED, "Zugriff verweigert"},
    {ERROR_INVALID_HANDLE, "Das Handle ist ungültig"},
    {ERROR_NOT_ENOUGH_MEMORY,
     "Es ist nicht genügend Speicher verfügbar, um diesen Befehl zu verarbeiten"},
    {ERROR_BAD_ENVIRONMENT, "Die Umgebung ist unzulässig"},
    {ERROR_BAD_FORMAT, "Es wurde versucht, ein Programm mit einem falschen Format zu laden"},
    {ERROR_INVALID_ACCESS, "Der Zugriffscode ist ungültig"},
    {ERROR_INVALID_DATA, "Die Daten sind unzulässig"},
    {ERROR_OUTOFMEMORY, "Es ist nicht genügend Speicher verfügbar, um diesen Vorgang auszuführen"},
    {ERROR_INVALID_DRIVE, "Das angegebene Laufwerk wurde nicht gefunden"},
    {ERROR_WRITE_PROTECT, "Der Datenträger ist schreibgeschützt"},
    {ERROR_NOT_READY, "Das Gerät ist nicht bereit"},
    {ERROR_CRC, "Datenfehler (zyklische Redundanzprüfung)"},
    {ERROR_SEEK,
     "Das Laufwerk kann einen bestimmten Bereich oder eine Spur auf dem Datenträger "
     "nicht finden"},
    {ERROR_WRITE_FAULT, "Das System kann nicht auf das angegebene Gerät schreiben"},
    {ERROR_READ_FAULT, "Das System kann nicht von dem angegebenen Gerät lesen"},
    {ERROR_GEN_FAILURE, "Ein an das System angeschlossenes Gerät funktioniert nicht"},
    {ERROR_SHARING_VIOLATION,
     "Der Prozess kann nicht auf die Datei zugreifen, da sie von einem "
     "anderen Prozess verwendet wird"},
    {ERROR_LOCK_VIOLATION,
     "Der Prozess kann nicht auf die Datei zugreifen, da ein anderer "
     "Prozess einen Teil der Datei gesperrt hat"},
    {ERROR_HANDLE_DISK_FULL, "Der Datenträger ist voll"},
    {ERROR_NOT_SUPPORTED, "Die Anforderung wird nicht unterstützt"},
    {ERROR_BAD_NETPATH, "Der Netzwerkpfad wurde nicht gefunden"},
    {ERROR_NETWORK_ACCESS_DENIED, "Der Netzwerkzugriff wurde verweigert"},
    {ERROR_BAD_NET_NAME, "Der Netzwerkname wurde nicht gefunden"},
    {ERROR_INVALID_PARAMETER, "Falscher Parameter"},
    {ERROR_BROKEN_PIPE, "Die Pipe wurde beendet"},
    {ERROR_DISK_FULL, "Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden"},
    {ERROR_INSUFFICIENT_BUFFER, "Der an einen Systemaufruf übergebene Datenbereich ist zu klein"},
    {ERROR_INVALID_NAME,
     "Die Syntax für den Dateinamen, Verzeichnisnamen oder die Datenträgerbezeichnung ist falsch"},
    {ERROR_MOD_NOT_FOUND, "Das angegebene Modul wurde nicht gefunden"},
    {ERROR_PROC_NOT_FOUND, "Die angegebene Prozedur wurde nicht gefunden"},
    {ERROR_BAD_PATHNAME, "Der angegebene Pfad ist ungültig"},
    {ERROR_ALREADY_EXISTS, "Eine Datei kann nicht erstellt werden, wenn sie bereits vorhanden ist"},
    {ERROR_BAD_EXE_FORMAT, "Die Anwendung ist keine zulässige Win32-Anwendung"},
    {ERROR_FILENAME_EXCED_RANGE, "Der Dateiname oder die Erweiterung ist zu lang"},
    {ERROR_EXE_MACHINE_TYPE_MISMATCH,
     "Die Version dieser Datei ist nicht mit der ausgeführten "
     "Windows-Version kompatibel"},
    {kErrorVirusInfected,
     "Der Vorgang wurde nicht erfolgreich beendet, da die Datei einen "
     "Virus oder potenziell unerwünschte Software enthält"},
    {ERROR_DIRECTORY, "Der Verzeichnisname ist ungültig"},
    {kErrorElevationRequired, "Der angeforderte Vorgang erfordert erhöhte Rechte"},
    {ERROR_BADDB, "Die Konfigurationsregistrierungsdatenbank ist beschädigt"},
    {ERROR_BADKEY, "Der Konfigurationsregistrierungsschlüssel ist ungültig"},
    {ERROR_CANTOPEN, "Der Konfigurationsregistrierungsschlüssel konnte nicht geöffnet werden"},
    {ERROR_CANTREAD, "Der Konfigurationsregistrierungsschlüssel konnte nicht gelesen werden"},
    {ERROR_CANTWRITE, "Der Konfigurationsregistrierungsschlüssel konnte nicht geschrieben werden"},
    {ERROR_REGISTRY_IO_FAILED, "Ein E/A-Vorgang der Registrierung ist fehlgeschlagen"},
    {ERROR_KEY_DELETED,
     "Unzulässiger Vorgang an einem Registrierungsschlüssel, der zum Löschen "
     "markiert wurde"},
    {ERROR_CHILD_MUST_BE_VOLATILE,
     "Es kann kein stabiler Unterschlüssel unter einem flüchtigen "
     "übergeordneten Schlüssel erstellt werden"},
    {ERROR_NO_ASSOCIATION, "Der angegebenen Datei ist keine Anwendung zugeordnet"},
    {ERROR_CANCELLED, "Der Vorgang wurde vom Benutzer abgebrochen"},
    {ERROR_ACCESS_DISABLED_BY_POLICY,
     "Dieses Programm wurde durch eine Gruppenrichtlinie blockiert"},
    {ERROR_FILE_CORRUPT, "Die Datei oder das Verzeichnis ist beschädigt und nicht lesbar"},
    {ERROR_NO_SYSTEM_RESOURCES,
     "Nicht genügend Systemressourcen, um den angeforderten Dienst auszuführen"},
    {ERROR_TIMEOUT, "Der Vorgang wurde wegen Zeitüberschreitung beendet"},
    {ERROR_NOT_ENOUGH_QUOTA, "Nicht genügend Quoten verfügbar, um diesen Befehl zu verarbeiten"},
    {ERROR_CANT_ACCESS_FILE, "Das System kann nicht auf die Datei zugreifen"},
    // WinHTTP's codes: their texts live in winhttp.dll, which FormatMessageW does not search.
    {ERROR_WINHTTP_TIMEOUT, "Das Zeitlimit für den Vorgang wurde überschritten"},
    {ERROR_WINHTTP_INVALID_URL, "Die URL ist ungültig"},
    {ERROR_WINHTTP_UNRECOGNIZED_SCHEME, "Das URL-Schema wird nicht unterstützt"},
    {ERROR_WINHTTP_NAME_NOT_RESOLVED, "Der Servername konnte nicht aufgelöst werden"},
    {ERROR_WINHTTP_OPERATION_CANCELLED, "Der Vorgang wurde abgebrochen"},
    {ERROR_WINHTTP_CANNOT_CONNECT, "Es konnte keine Verbindung mit dem Server hergestellt werden"},
    {ERROR_WINHTTP_CONNECTION_ERROR, "Die Verbindung mit dem Server wurde unerwartet beendet"},
    {ERROR_WINHTTP_SECURE_CERT_DATE_INVALID,
     "Das Zertifikat des Servers ist abgelaufen oder noch nicht gültig"},
    {ERROR_WINHTTP_SECURE_CERT_CN_INVALID,
     "Der Name im Zertifikat des Servers passt nicht zu seiner Adresse"},
    {ERROR_WINHTTP_SECURE_INVALID_CA,
     "Das Zertifikat des Servers stammt von keiner vertrauenswürdigen Zertifizierungsstelle"},
    {ERROR_WINHTTP_SECURE_CERT_REV_FAILED,
     "Der Sperrstatus des Serverzertifikats konnte nicht geprüft werden"},
    {ERROR_WINHTTP_INVALID_SERVER_RESPONSE, "Die Antwort des Servers ist ungültig"},
    {ERROR_WINHTTP_REDIRECT_FAILED, "Die Weiterleitung ist fehlgeschlagen"},
    {ERROR_WINHTTP_SECURE_CHANNEL_ERROR, "Fehler beim Aufbau der sicheren Verbindung"},
    {ERROR_WINHTTP_SECURE_INVALID_CERT, "Das Zertifikat des Servers ist ungültig"},
    {ERROR_WINHTTP_SECURE_CERT_REVOKED, "Das Zertifikat des Servers wurde gesperrt"},
    {ERROR_WINHTTP_SECURE_FAILURE, "Das Zertifikat des Servers enthält Fehler"},
    {ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE,
     "Das Zertifikat des Servers ist für diesen Zweck nicht zugelassen"},
};

constexpr bool Sorted() {
    for (std::size_t i = 1; i < std::size(kWin32Texts); ++i) {
        if (kWin32Texts[i - 1].code >= kWin32Texts[i].code) {
            return false;
        }
    }
    return true;
}
static_assert(Sorted(), "kWin32Texts must stay sorted by code");

// The system's own text, when it has one in German. Trailing blanks, line breaks and the full
// stop are dropped.
std::string SystemGermanText(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), reinterpret_cast<wchar_t*>(&buffer),
        0, nullptr);
    if (length == 0 || buffer == nullptr) {
        return {};
    }
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.pop_back();
    }
    return WideToUtf8(text);
}

}  // namespace

std::string Win32ErrorText(std::uint32_t code) {
    const auto* found = std::lower_bound(
        std::begin(kWin32Texts), std::end(kWin32Texts), code,
        [](const Win32Text& entry, std::uint32_t wanted) { return entry.code < wanted; });
    if (found != std::end(kWin32Texts) && found->code == code) {
        return std::string(found->text);
    }
    std::string system = SystemGermanText(code);
    return system.empty() ? std::string("Unbekannter Windows-Fehler") : system;
}

Failure FailureWithWin32Detail(std::int32_t number, std::uint32_t code) {
    std::string description = ErrorDescription(number) + ": " + Win32ErrorText(code);
    description += " (Windows-Fehler " + std::to_string(code) + ")";
    return Failure{number, std::move(description)};
}

Failure FailureFromWin32(std::uint32_t code, std::int32_t number) {
    switch (code) {
        case ERROR_ACCESS_DENIED:
            return MakeFailure(kw::error::kAccessDenied);
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return MakeFailure(kw::error::kOutOfMemory);
        default:
            return FailureWithWin32Detail(number, code);
    }
}

}  // namespace kw::win32
