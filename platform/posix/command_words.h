#pragma once

#include <string>
#include <vector>

#include "core/failure.h"
#include "core/filled_command.h"

namespace kw::posix {

// A word of a split command line.
struct CommandWord {
    std::string text;
    bool hasNumber = false;  // some of the text, possibly none of it, came from a call number

    friend bool operator==(const CommandWord&, const CommandWord&) = default;
};

// Splits the command into words by POSIX shell quoting: blanks, tabs and line breaks separate
// words; single quotes, double quotes and backslash quote. Nothing is expanded: "$", "`", "~",
// "*" and the like are ordinary characters. Only template text is syntax; number text is added
// to the word it stands in as it is, so a number never adds, splits or joins words. A
// placeholder standing alone makes a word even when its number is empty.
//
// Failure 5 when the template leaves a quote open.
Result<std::vector<CommandWord>> SplitCommandWords(const FilledCommand& command);

}  // namespace kw::posix
