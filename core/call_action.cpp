#include "core/call_action.h"

#include <exception>
#include <new>
#include <string>

#include "core/database_call.h"
#include "core/error_numbers.h"
#include "core/filled_command.h"
#include "core/messages.h"
#include "core/reduce_number.h"
#include "core/web_address.h"

namespace kw {

namespace {

// The action up to its first failure. `command` receives the filled-in command as soon as it
// exists, for the message about a program that cannot be found.
MaybeFailure Act(AppOptions& options, CallInfo& call, CallActionPlatform& platform,
                 std::string& command) {
    if (options.Formatierung) {
        ReduceNumber(call.AnrufNummer);
        ReduceNumber(call.MSN);
    }
    if (!options.DoJob) {
        return CallDatabaseProcedure(platform.automation, options, call);
    }

    const FilledCommand filled =
        FillTemplate(options.Shell, call.AnrufNummer, call.MSN, call.AnrufName);
    command = filled.text();
    if (IsWebAddress(command)) {
        // A forged number must not turn a program command into an address of its choosing.
        if (filled.numberWithin(4)) {
            return Failure{error::kInvalidCall, std::string(kNumberDecidesTarget)};
        }
        platform.launcher.openAddress(filled);
        return std::nullopt;
    }
    return platform.launcher.startProgram(filled);
}

}  // namespace

void RunCallAction(AppOptions& options, CallInfo& call, CallActionPlatform& platform) {
    std::string command;
    MaybeFailure failure;
    try {
        failure = Act(options, call, platform, command);
    } catch (const std::bad_alloc&) {
        failure = MakeFailure(error::kOutOfMemory);
    } catch (const std::exception&) {
        failure = MakeFailure(error::kInternal);
    }
    if (!failure) {
        return;
    }
    if (failure->number == error::kFileNotFound) {
        platform.messages.show(ShellErrorText(command), kShellErrorTitle,
                               platform::MessageIcon::Critical, platform::MessageButtons::Ok);
    } else {
        platform.messages.show(FailureText(*failure), kApplicationTitle,
                               platform::MessageIcon::None, platform::MessageButtons::Ok);
    }
}

}  // namespace kw
