#include "platform/win32/win32_error.h"

#include <gtest/gtest.h>

#include "core/error_numbers.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {
namespace {

TEST(Win32Error, AccessDeniedAndMemoryKeepTheirClassicNumbers) {
    EXPECT_EQ(FailureFromWin32(ERROR_ACCESS_DENIED, error::kPathFileAccess),
              MakeFailure(error::kAccessDenied));
    EXPECT_EQ(FailureFromWin32(ERROR_NOT_ENOUGH_MEMORY, error::kPathFileAccess),
              MakeFailure(error::kOutOfMemory));
    EXPECT_EQ(FailureFromWin32(ERROR_OUTOFMEMORY, error::kPathFileAccess),
              MakeFailure(error::kOutOfMemory));
}

TEST(Win32Error, OtherCodesGetTheChosenNumberAndAGermanText) {
    const Failure failure = FailureFromWin32(ERROR_BAD_EXE_FORMAT, error::kPathFileAccess);
    EXPECT_EQ(failure.number, error::kPathFileAccess);
    EXPECT_EQ(failure.description,
              "Fehler beim Zugriff auf Pfad/Datei: Die Anwendung ist keine zulässige "
              "Win32-Anwendung (Windows-Fehler 193)");
}

TEST(Win32Error, EveryCodeHasAText) {
    for (std::uint32_t code : {1u, 2u, 3u, 21u, 32u, 87u, 123u, 1009u, 1018u, 1155u, 4242424u}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(Win32ErrorText(code).empty());
    }
    EXPECT_EQ(Win32ErrorText(ERROR_NOT_READY), "Das Gerät ist nicht bereit");
    EXPECT_EQ(Win32ErrorText(kErrorElevationRequired),
              "Der angeforderte Vorgang erfordert erhöhte Rechte");
}

TEST(Win32Error, DetailFollowsTheClassicTextOfEveryNumber) {
    EXPECT_EQ(FailureWithWin32Detail(error::kBadFileName, ERROR_INVALID_NAME).description,
              "Dateiname oder -nummer falsch: Die Syntax für den Dateinamen, Verzeichnisnamen oder "
              "die Datenträgerbezeichnung ist falsch (Windows-Fehler 123)");
    EXPECT_EQ(FailureWithWin32Detail(2501, ERROR_NOT_READY),
              (Failure{2501,
                       "Anwendungs- oder objektdefinierter Fehler: Das Gerät ist nicht "
                       "bereit (Windows-Fehler 21)"}));
}

}  // namespace
}  // namespace kw::win32
