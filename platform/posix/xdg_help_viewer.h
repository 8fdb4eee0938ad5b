#pragma once

#include <string>

#include "platform/help_viewer.h"

namespace kw::posix {

// Opens the file with xdg-open, started detached (SpawnDetached) and never waited for. Every
// outcome (no xdg-open, no viewer, no file) is ignored.
class XdgHelpViewer final : public platform::HelpViewer {
  public:
    void open(const std::string& path) override;
};

}  // namespace kw::posix
