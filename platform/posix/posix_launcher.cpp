#include "platform/posix/posix_launcher.h"

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "core/error_numbers.h"
#include "core/messages.h"
#include "core/web_address.h"
#include "platform/posix/command_words.h"
#include "platform/posix/process_spawner.h"

namespace kw::posix {

void PosixLauncher::openAddress(const FilledCommand& command) {
    try {
        Result<std::string> opener = FindProgram("xdg-open");
        if (!opener.ok()) {
            return;
        }
        // Nobody looks at the outcome of opening an address.
        (void)SpawnDetached(opener.value(), {"xdg-open", WebAddress(command)});
    } catch (...) {
    }
}

MaybeFailure PosixLauncher::startProgram(const FilledCommand& command) {
    try {
        Result<std::vector<CommandWord>> split = SplitCommandWords(command);
        if (!split.ok()) {
            return split.failure();
        }
        std::vector<CommandWord>& words = split.value();
        if (words.empty()) {
            return MakeFailure(error::kInvalidCall);
        }
        // Caller numbers are forged at will; one must never pick what runs.
        if (words.front().hasNumber) {
            return Failure{error::kInvalidCall, std::string(kNumberDecidesTarget)};
        }
        Result<std::string> program = FindProgram(words.front().text);
        if (!program.ok()) {
            return program.failure();
        }
        std::vector<std::string> arguments;
        arguments.reserve(words.size());
        for (CommandWord& word : words) {
            arguments.push_back(std::move(word.text));
        }
        return SpawnDetached(program.value(), arguments);
    } catch (const std::bad_alloc&) {
        return MakeFailure(error::kOutOfMemory);
    }
}

}  // namespace kw::posix
