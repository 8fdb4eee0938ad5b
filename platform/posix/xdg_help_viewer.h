#pragma once

#include <string>

#include "platform/help_viewer.h"

namespace kw::posix {

// Opens the compiled help file with xdg-open where the desktop has a viewer for it, and the HTML
// manual otherwise: "handbuch/index.html" beside the file, or, for an installed program,
// "../share/doc/klingelwart/handbuch/index.html" from its directory. With neither file there it
// opens the given path and leaves the complaint to xdg-open. Everything runs detached and is
// never waited for; every outcome (no xdg-open, no viewer, no file) is ignored.
class XdgHelpViewer final : public platform::HelpViewer {
  public:
    void open(const std::string& path) override;
};

}  // namespace kw::posix
