#pragma once

#include <cstdint>

#include "platform/file_search.h"

namespace kw::win32 {

// FindFirstFileExW over the pattern ("*" and "?" as Windows reads them), counting only entries
// that are neither directories nor hidden nor system files.
//
// Nothing there (no match, a missing directory, an unknown network path): false. A name that the
// file system rejects (ERROR_INVALID_NAME and kin) is 52 "Dateiname oder -nummer falsch", a
// drive that does not exist 68 "Gerät nicht verfügbar", a drive that is not ready 71
// "Datenträger nicht bereit", access denied 70; anything else 75 with the Windows error.
class Win32FileSearch final : public platform::FileSearch {
  public:
    Result<bool> findsOrdinaryFile(std::string_view pattern) override;

    // What a search that stopped with the Win32 error `code` answers.
    static Result<bool> resultForError(std::uint32_t code);
};

}  // namespace kw::win32
