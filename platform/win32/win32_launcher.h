#pragma once

#include <optional>
#include <string>

#include "platform/launcher.h"

namespace kw::win32 {

// Starts programs with CreateProcessW and opens web addresses with the shell's "Open" verb.
//
// A command line is handed to Windows as the template wrote it, with the numbers written in as
// data (platform/win32/command_line.h). The program is found the way CreateProcessW finds it
// when given no application name: the text up to the closing quote, or, for an unquoted path
// with blanks, each text up to a blank in turn ("C:\Program Files\x\y.exe a" works). Only texts
// that are template text throughout are tried, so a number can never become part of the
// program's path; the program found is passed as the application name, so Windows cannot go on
// to a longer text that would reach into a number. No program found: 53.
//
// A batch file (.bat, .cmd) runs through cmd.exe, which would read & | < > ^ % " ( ) ! and line
// breaks in a number as commands: such a number refuses the start with 5.
class Win32Launcher final : public platform::Launcher {
  public:
    void openAddress(const FilledCommand& command) override;
    [[nodiscard]] MaybeFailure startProgram(const FilledCommand& command) override;

    // The file CreateProcessW would run for `name`, searched like it: the program's directory,
    // the current directory (unless NoDefaultCurrentDirectoryInExePath), the system
    // directories, the Windows directory, PATH; ".exe" added to a name without extension.
    // Directories do not count.
    static std::optional<std::wstring> findProgram(const std::wstring& name);

    static bool isBatchFile(const std::wstring& path);
};

}  // namespace kw::win32
