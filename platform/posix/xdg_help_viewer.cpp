#include "platform/posix/xdg_help_viewer.h"

#include <vector>

#include "platform/posix/process_spawner.h"

namespace kw::posix {

void XdgHelpViewer::open(const std::string& path) {
    if (path.empty()) {
        return;
    }
    Result<std::string> opener = FindProgram("xdg-open");
    if (!opener.ok()) {
        return;
    }
    // A relative path starting with "-" would read as an option.
    const std::string argument = path.front() == '-' ? "./" + path : path;
    (void)SpawnDetached(opener.value(), std::vector<std::string>{"xdg-open", argument});
}

}  // namespace kw::posix
