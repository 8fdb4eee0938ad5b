#pragma once

#include <string>
#include <vector>

#include "core/failure.h"

namespace kw::posix {

// Finds the program a command's first word names: a word with a slash is taken as a path, any
// other word is looked up in the directories of PATH. Failures: 53 when nothing of that name
// exists; 70 when it exists but is not executable; 75 when it is a directory.
Result<std::string> FindProgram(const std::string& word);

// Starts the program at `path` with `arguments` (argv[0] first) detached: in a session of its
// own, standard input from /dev/null, not waited for and leaving no zombie behind. Returns once
// the program has been executed or has failed to be. Failures: 53 when the file is gone; 70 when
// it may not be executed; 75 when it cannot be executed (bad interpreter line, unknown format, a
// directory); 7 when memory runs out; another number otherwise. Never 53 for a file that exists.
MaybeFailure SpawnDetached(const std::string& path, const std::vector<std::string>& arguments);

}  // namespace kw::posix
