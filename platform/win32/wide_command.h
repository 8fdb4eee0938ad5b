#pragma once

#include <string>
#include <vector>

#include "core/filled_command.h"

namespace kw::win32::command_line {

// A filled-in command in UTF-16, its pieces still marked as template or number text.
struct WidePiece {
    std::wstring text;
    bool fromNumber = false;
};
using WideCommand = std::vector<WidePiece>;

// The command in UTF-16, without the blanks and tabs of the template before the program.
WideCommand ToWide(const FilledCommand& command);

}  // namespace kw::win32::command_line
