#pragma once

#include <string>
#include <vector>

#include "core/failure.h"
#include "core/filled_command.h"
#include "platform/win32/wide_command.h"

// How Win32Launcher turns a filled-in command into a Windows command line. Pure text work without
// Windows headers, kept apart from the process start so that it can be tested against the
// system's own parser and fuzzed on any system.
//
// A Windows program receives one command line and splits it itself; the rules that
// CommandLineToArgvW (and the C runtimes) follow are the reference here. The template text is
// the user's and is passed on exactly as written. A number is data: wherever it stands, it is
// written so that the parser hands it to the program as exactly its own characters inside the
// word it stands in:
//
// - inside quotes of the template, its quotes are escaped (\") and the backslashes before them
//   doubled;
// - outside quotes, a number holding a blank or a tab is put in quotes of its own, and so is an
//   empty number that stands as a word of its own (so the word is not lost);
// - backslashes next to a number (the template's before it, the number's own at its end) are
//   doubled where they come to stand before a quote, so a quote keeps the meaning the template
//   gave it.
//
// The program comes from the template only: a number anywhere in the first word (even empty,
// even glued to it) refuses the command with 5 and kNumberDecidesTarget.
//
// Programs built with a C runtime split their line by its own rules, which differ from
// CommandLineToArgvW's in how "" inside quotes and quotes in the program's word are read. A
// command with a number whose template uses either is refused with 5, since the number's place
// would depend on the program; otherwise every such parser reads the line alike.
namespace kw::win32::command_line {

// The texts the system would try, in order, as the program when starting the command line with
// no application name (CreateProcessW): for a line starting with a quote, the text up to the
// next quote; otherwise the text up to each blank or tab in turn, then the whole line (the way
// an unquoted path with blanks is found). Only texts made of template text alone are listed;
// the list stops before the first one that would reach a number.
//
// Failures, all 5: an empty command; a number in the first word (kNumberDecidesTarget); a NUL
// character, which would end the command line early; quotes that the parsers read differently
// (see above).
Result<std::vector<std::wstring>> ProgramCandidates(const WideCommand& command);

// Characters that cmd.exe gives a meaning even inside quotes or that end a command:
// & | < > ^ % " ( ) ! and line breaks.
bool HoldsBatchMetacharacter(const std::wstring& number);

// The command line for CreateProcessW. For a batch file (run by cmd.exe), numbers with the
// other separators of batch arguments (, ; = and form feeds) are quoted as well; a number with a
// cmd.exe metacharacter must have been refused before.
//
// Failure 5 when a number that needs quotes of its own stands directly beside a quote of the
// template (as in "x"{AnrufNummer} with a number starting with a blank), or an empty number
// directly between two: two quotes in a row read as a literal quote, so no writing of the
// number keeps the template's meaning.
Result<std::wstring> Build(const WideCommand& command, bool forBatch);

}  // namespace kw::win32::command_line
