#include "core/error_numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace kw {
namespace {

// The texts users read in "Fehler-Nummer" messages; a change here is a change they see.
TEST(ErrorDescription, KeepsEveryClassicText) {
    const struct {
        std::int32_t number;
        std::string text;
    } cases[] = {
        {5, "Ungültiger Prozeduraufruf oder ungültiges Argument"},
        {6, "Überlauf"},
        {7, "Nicht genügend Speicher"},
        {9, "Index außerhalb des gültigen Bereichs"},
        {10, "Datenfeld ist unveränderlich oder momentan gesperrt"},
        {11, "Division durch Null"},
        {13, "Typen unverträglich"},
        {51, "Interner Fehler"},
        {52, "Dateiname oder -nummer falsch"},
        {53, "Datei nicht gefunden"},
        {57, "Geräte-E/A-Fehler"},
        {61, "Datenträger voll"},
        {68, "Gerät nicht verfügbar"},
        {70, "Zugriff verweigert"},
        {71, "Datenträger nicht bereit"},
        {75, "Fehler beim Zugriff auf Pfad/Datei"},
        {76, "Pfad nicht gefunden"},
        {429, "Objekterstellung durch ActiveX-Komponente nicht möglich"},
        {430,
         "Klasse unterstützt keine Automatisierung oder unterstützt erwartete Schnittstelle "
         "nicht"},
        {438, "Objekt unterstützt diese Eigenschaft oder Methode nicht"},
        {440, "Automatisierungsfehler"},
        {445, "Objekt unterstützt diese Aktion nicht"},
        {446, "Objekt unterstützt keine benannten Argumente"},
        {447, "Objekt unterstützt die aktuelle Ländereinstellung nicht"},
        {448, "Benanntes Argument nicht gefunden"},
        {449, "Argument ist nicht optional"},
        {450, "Falsche Anzahl an Argumenten oder ungültige Zuweisung zu einer Eigenschaft"},
        {462, "Der Remote-Server-Computer existiert nicht oder ist nicht verfügbar"},
        // Everything else, server-defined numbers and HRESULTs included, gets one fallback.
        {0, "Anwendungs- oder objektdefinierter Fehler"},
        {1, "Anwendungs- oder objektdefinierter Fehler"},
        {2501, "Anwendungs- oder objektdefinierter Fehler"},
        {-5, "Anwendungs- oder objektdefinierter Fehler"},
        {INT_MIN, "Anwendungs- oder objektdefinierter Fehler"},
        {INT_MAX, "Anwendungs- oder objektdefinierter Fehler"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorDescription(c.number), c.text) << c.number;
        EXPECT_EQ(MakeFailure(c.number), (Failure{c.number, c.text})) << c.number;
    }
}

}  // namespace
}  // namespace kw
