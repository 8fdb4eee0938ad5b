#pragma once

#include <string>
#include <string_view>

#include "core/failure.h"

namespace kw {

// Line break inside message texts.
inline constexpr std::string_view kCrLf = "\r\n";

inline constexpr std::string_view kApplicationTitle = "Klingelwart";

inline constexpr std::string_view kShellErrorTitle = "Fehlerhafter Shell-Befehl in Optionen-Dialog";

// The message for a program that cannot be found, quoting the command as far as it was built.
std::string ShellErrorText(std::string_view command);

// "Fehler-Nummer <number>", a blank line, then the description.
std::string FailureText(const Failure& failure);

// Description of the refusal when a call number would decide what is started.
inline constexpr std::string_view kNumberDecidesTarget =
    "Die übermittelte Rufnummer würde bestimmen, was gestartet wird. Der Aufruf wurde aus "
    "Sicherheitsgründen abgelehnt.";

}  // namespace kw
