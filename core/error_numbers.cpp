#include "core/error_numbers.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace kw {

namespace {

struct Description {
    std::int32_t number;
    std::string_view text;
};

// Sorted by number.
constexpr Description kDescriptions[] = {
    {error::kInvalidCall, "Ungültiger Prozeduraufruf oder ungültiges Argument"},
    {error::kOverflow, "Überlauf"},
    {error::kOutOfMemory, "Nicht genügend Speicher"},
    {error::kSubscriptOutOfRange, "Index außerhalb des gültigen Bereichs"},
    {error::kArrayLocked, "Datenfeld ist unveränderlich oder momentan gesperrt"},
    {error::kDivisionByZero, "Division durch Null"},
    {error::kTypeMismatch, "Typen unverträglich"},
    {error::kInternal, "Interner Fehler"},
    {error::kBadFileName, "Dateiname oder -nummer falsch"},
    {error::kFileNotFound, "Datei nicht gefunden"},
    {error::kDeviceIo, "Geräte-E/A-Fehler"},
    {error::kDiskFull, "Datenträger voll"},
    {error::kDeviceUnavailable, "Gerät nicht verfügbar"},
    {error::kAccessDenied, "Zugriff verweigert"},
    {error::kDiskNotReady, "Datenträger nicht bereit"},
    {error::kPathFileAccess, "Fehler beim Zugriff auf Pfad/Datei"},
    {error::kPathNotFound, "Pfad nicht gefunden"},
    {error::kCannotCreateObject, "Objekterstellung durch ActiveX-Komponente nicht möglich"},
    {error::kNoAutomation,
     "Klasse unterstützt keine Automatisierung oder unterstützt erwartete Schnittstelle nicht"},
    {error::kMemberNotSupported, "Objekt unterstützt diese Eigenschaft oder Methode nicht"},
    {error::kAutomationError, "Automatisierungsfehler"},
    {error::kActionNotSupported, "Objekt unterstützt diese Aktion nicht"},
    {error::kNoNamedArguments, "Objekt unterstützt keine benannten Argumente"},
    {error::kLocaleNotSupported, "Objekt unterstützt die aktuelle Ländereinstellung nicht"},
    {error::kNamedArgumentNotFound, "Benanntes Argument nicht gefunden"},
    {error::kArgumentNotOptional, "Argument ist nicht optional"},
    {error::kWrongArgumentCount,
     "Falsche Anzahl an Argumenten oder ungültige Zuweisung zu einer Eigenschaft"},
    {error::kServerUnavailable,
     "Der Remote-Server-Computer existiert nicht oder ist nicht verfügbar"},
};

constexpr bool Sorted() {
    for (std::size_t i = 1; i < std::size(kDescriptions); ++i) {
        if (kDescriptions[i - 1].number >= kDescriptions[i].number) {
            return false;
        }
    }
    return true;
}
static_assert(Sorted(), "kDescriptions must stay sorted by number");

constexpr std::string_view kObjectDefined = "Anwendungs- oder objektdefinierter Fehler";

}  // namespace

std::string ErrorDescription(std::int32_t number) {
    const auto* found = std::lower_bound(
        std::begin(kDescriptions), std::end(kDescriptions), number,
        [](const Description& entry, std::int32_t wanted) { return entry.number < wanted; });
    if (found != std::end(kDescriptions) && found->number == number) {
        return std::string(found->text);
    }
    return std::string(kObjectDefined);
}

Failure MakeFailure(std::int32_t number) {
    return Failure{number, ErrorDescription(number)};
}

}  // namespace kw
