#include "core/error_numbers.h"

namespace kw {

std::string ErrorDescription(std::int32_t number) {
    switch (number) {
        case error::kInvalidCall:
            return "Ungültiger Prozeduraufruf oder ungültiges Argument";
        case error::kOutOfMemory:
            return "Nicht genügend Speicher";
        case error::kInternal:
            return "Interner Fehler";
        case error::kFileNotFound:
            return "Datei nicht gefunden";
        case error::kAccessDenied:
            return "Zugriff verweigert";
        case error::kPathFileAccess:
            return "Fehler beim Zugriff auf Pfad/Datei";
        case error::kPathNotFound:
            return "Pfad nicht gefunden";
        case error::kCannotCreateObject:
            return "Objekterstellung durch ActiveX-Komponente nicht möglich";
        case error::kMemberNotSupported:
            return "Objekt unterstützt diese Eigenschaft oder Methode nicht";
        case error::kAutomationError:
            return "Automatisierungsfehler";
        case error::kNamedArgumentNotFound:
            return "Benanntes Argument nicht gefunden";
        default:
            return {};
    }
}

Failure MakeFailure(std::int32_t number) {
    return Failure{number, ErrorDescription(number)};
}

}  // namespace kw
