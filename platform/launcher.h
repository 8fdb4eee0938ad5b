#pragma once

#include "core/filled_command.h"
#include "platform/failure.h"

namespace kw::platform {

// Starts what a filled-in command names. The command keeps apart the user's template text and
// the call numbers put into it: template text follows the platform's command-line syntax, number
// text is data only and never changes how the command is split or what runs.
class Launcher {
  public:
    virtual ~Launcher() = default;

    // Hands a web address ("http...", "www...") to the desktop's handler without waiting. Number
    // text is percent-encoded. The outcome is deliberately not reported: callers never examine it.
    virtual void openAddress(const FilledCommand& command) = 0;

    // Starts the program the command names, with its arguments, and does not wait for it.
    // Failures: 53 when the program does not exist; another number with a German description when
    // it exists but cannot be started, when the command names no program, or when the program
    // itself would come from number text. Never throws.
    [[nodiscard]] virtual MaybeFailure startProgram(const FilledCommand& command) = 0;
};

}  // namespace kw::platform
