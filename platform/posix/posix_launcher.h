#pragma once

#include "platform/launcher.h"

namespace kw::posix {

// Starts programs directly (never through a shell) and web addresses through xdg-open.
class PosixLauncher final : public platform::Launcher {
  public:
    void openAddress(const FilledCommand& command) override;
    [[nodiscard]] MaybeFailure startProgram(const FilledCommand& command) override;
};

}  // namespace kw::posix
