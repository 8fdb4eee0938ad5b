// The Windows command line builder against both ways a program may split its line: the words
// of a built line are the template's words with each number whole in its place, for
// CommandLineToArgvW's rules and the C runtimes' alike, or the builder refused.
//
// Input: one flag byte (bit 0: the program is a batch file), then template, caller number and
// called number separated by line feeds. In the template "@" stands for "{AnrufNummer}" and "#"
// for "{MSN}". Bytes widen to one character each; the builder only cares about ASCII.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/error_numbers.h"
#include "core/filled_command.h"
#include "platform/win32/command_line.h"
#include "tests/support/windows_argv_rules.h"

namespace {

using kw::win32::command_line::WideCommand;
using kw::win32::command_line::WidePiece;

constexpr wchar_t kFirstOpaque = 0xE000;

std::wstring Widen(std::string_view text) {
    std::wstring wide;
    for (const char c : text) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return wide;
}

// As ToWide, with bytes widened instead of decoded.
WideCommand Widen(const kw::FilledCommand& command) {
    WideCommand wide;
    bool leading = true;
    for (const kw::CommandPiece& piece : command.pieces()) {
        WidePiece converted{Widen(piece.text), piece.fromNumber};
        if (leading && !piece.fromNumber) {
            converted.text.erase(0, converted.text.find_first_not_of(L" \t"));
            if (converted.text.empty()) {
                continue;
            }
        }
        leading = false;
        wide.push_back(std::move(converted));
    }
    return wide;
}

// Numbers stand as U+E000.. in the template; other characters beyond ASCII print as \x{..}.
[[noreturn]] void Fail(const char* what, const std::wstring& line) {
    std::fprintf(stderr, "%s\nline: ", what);
    for (const wchar_t c : line) {
        if (c >= 0x20 && c < 0x7F) {
            std::fputc(static_cast<int>(c), stderr);
        } else {
            std::fprintf(stderr, "\\x{%lX}", static_cast<unsigned long>(c));
        }
    }
    std::fputc('\n', stderr);
    std::abort();
}

std::vector<std::wstring> Filled(std::vector<std::wstring> words,
                                 const std::vector<std::wstring>& numbers) {
    for (std::wstring& word : words) {
        std::wstring filled;
        for (const wchar_t c : word) {
            const auto index = static_cast<std::size_t>(c - kFirstOpaque);
            filled +=
                c >= kFirstOpaque && index < numbers.size() ? numbers[index] : std::wstring(1, c);
        }
        word = std::move(filled);
    }
    return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 4096) {
        return 0;
    }
    const bool forBatch = (data[0] & 1) != 0;
    std::string parts[3];
    std::size_t part = 0;
    for (std::size_t i = 1; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n' && part < 2) {
            ++part;
        } else if (part == 0 && c == '@') {
            parts[0] += kw::kCallerPlaceholder;
        } else if (part == 0 && c == '#') {
            parts[0] += kw::kCalledPlaceholder;
        } else {
            parts[part] += c;
        }
    }

    const WideCommand command = Widen(kw::FillTemplate(parts[0], parts[1], parts[2]));
    if (command.empty() || !kw::win32::command_line::ProgramCandidates(command).ok()) {
        return 0;  // the launcher stops here; the refusals have tests of their own
    }
    if (forBatch) {
        for (const WidePiece& piece : command) {
            if (piece.fromNumber && kw::win32::command_line::HoldsBatchMetacharacter(piece.text)) {
                return 0;
            }
        }
    }

    std::wstring opaque;
    std::vector<std::wstring> numbers;
    for (const WidePiece& piece : command) {
        if (piece.fromNumber) {
            opaque += static_cast<wchar_t>(kFirstOpaque + numbers.size());
            numbers.push_back(piece.text);
        } else {
            opaque += piece.text;
        }
    }

    kw::Result<std::wstring> line = kw::win32::command_line::Build(command, forBatch);
    if (!line.ok()) {
        if (line.failure().number != kw::error::kInvalidCall ||
            line.failure().description.empty()) {
            Fail("refused without number 5 and a text", opaque);
        }
        return 0;
    }
    if (numbers.empty()) {
        if (line.value() != opaque) {
            Fail("changed a template without numbers", line.value());
        }
        return 0;  // the user's own line, split as the program pleases
    }
    const std::vector<std::wstring> expected =
        Filled(kw::test::SplitLikeCommandLineToArgvW(opaque), numbers);
    if (Filled(kw::test::SplitLikeCRuntime(opaque), numbers) != expected) {
        Fail("built a template that the parsers split differently", opaque);
    }
    if (kw::test::SplitLikeCommandLineToArgvW(line.value()) != expected) {
        Fail("CommandLineToArgvW's rules split the line differently", line.value());
    }
    if (kw::test::SplitLikeCRuntime(line.value()) != expected) {
        Fail("the C runtime's rules split the line differently", line.value());
    }
    return 0;
}
