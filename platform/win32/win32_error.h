#pragma once

#include <cstdint>
#include <string>

#include "core/failure.h"

namespace kw::win32 {

// Win32 codes that not every SDK's winerror.h names (mingw-w64 lacks them).
inline constexpr std::uint32_t kErrorVirusInfected = 225;      // ERROR_VIRUS_INFECTED
inline constexpr std::uint32_t kErrorElevationRequired = 740;  // ERROR_ELEVATION_REQUIRED

// A German text for a Win32 error code, without a final full stop. Kept here because Wine's
// FormatMessageW knows few texts and none in German; codes missing from the table are asked
// from the system in German only, else "unbekannter Windows-Fehler".
std::string Win32ErrorText(std::uint32_t code);

// The failure for a Win32 error code where the caller has no more specific number: access
// denied is 70 "Zugriff verweigert", a lack of memory 7, everything else `number` with its
// classic description, the German text of the code and the code itself, for example
// "Fehler beim Zugriff auf Pfad/Datei: Die Anwendung ist keine zulässige Win32-Anwendung
// (Windows-Fehler 193)".
Failure FailureFromWin32(std::uint32_t code, std::int32_t number);

// `number` with its classic description followed by the Win32 detail, as above, for callers
// that choose the number themselves.
Failure FailureWithWin32Detail(std::int32_t number, std::uint32_t code);

}  // namespace kw::win32
