#pragma once

#include "platform/file_search.h"

namespace kw::posix {

// The existence test by glob(3): the pattern's wildcards are "*", "?" and "[...]"; a backslash is
// an ordinary character (GLOB_NOESCAPE), as in a path typed on Windows. A match counts when
// stat(2) (following symbolic links) shows a regular file and its name does not start with "."
// (hidden); directories and other kinds never count. A name starting with "." is only matched
// when the pattern spells the dot.
//
// Unreadable or missing directories on the way mean "nothing found", as on Windows. Failures:
// 76 ("Pfad nicht gefunden") for a pattern the file system rejects outright (a NUL byte, a name
// or path too long); 75 ("Fehler beim Zugriff auf Pfad/Datei") when reading a directory fails
// otherwise (an I/O error) or memory runs out.
class PosixFileSearch final : public platform::FileSearch {
  public:
    Result<bool> findsOrdinaryFile(std::string_view pattern) override;
};

}  // namespace kw::posix
