#include "platform/win32/wide_command.h"

#include <cstddef>
#include <utility>

#include "platform/win32/wide_text.h"

namespace kw::win32::command_line {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

}  // namespace

WideCommand ToWide(const FilledCommand& command) {
    WideCommand wide;
    wide.reserve(command.pieces().size());
    bool leading = true;
    for (const CommandPiece& piece : command.pieces()) {
        WidePiece converted{Utf8ToWide(piece.text), piece.fromNumber};
        if (leading && !piece.fromNumber) {
            std::size_t blanks = 0;
            while (blanks < converted.text.size() && IsBlank(converted.text[blanks])) {
                ++blanks;
            }
            converted.text.erase(0, blanks);
            if (converted.text.empty()) {
                continue;
            }
        }
        leading = false;
        wide.push_back(std::move(converted));
    }
    return wide;
}

}  // namespace kw::win32::command_line
