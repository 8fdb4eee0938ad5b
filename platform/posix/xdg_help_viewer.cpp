#include "platform/posix/xdg_help_viewer.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/posix/process_spawner.h"

namespace kw::posix {
namespace {

// Asking xdg-mime can take a while (it may start a desktop helper), so the shell asks it, away
// from the window. The paths arrive as positional arguments and are never part of the script.
constexpr const char* kChooseViewerScript =
    "if [ -n \"$(xdg-mime query default application/vnd.ms-htmlhelp 2>/dev/null)\" ]; then\n"
    "    exec \"$1\" \"$2\"\n"
    "fi\n"
    "exec \"$1\" \"$3\"\n";

bool IsFile(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

// A relative path starting with "-" would read as an option.
std::string AsArgument(const std::string& path) {
    return !path.empty() && path.front() == '-' ? "./" + path : path;
}

std::optional<std::string> FindManual(const std::string& helpFile) {
    const std::filesystem::path directory = std::filesystem::path(helpFile).parent_path();
    const std::filesystem::path candidates[] = {
        directory / "handbuch" / "index.html",
        directory / ".." / "share" / "doc" / "klingelwart" / "handbuch" / "index.html",
    };
    for (const std::filesystem::path& candidate : candidates) {
        if (IsFile(candidate)) {
            std::error_code error;
            // Without the "bin/.." a browser shows, and without a leading "-" xdg-open takes.
            const std::filesystem::path resolved = std::filesystem::canonical(candidate, error);
            return AsArgument(error ? candidate.string() : resolved.string());
        }
    }
    return std::nullopt;
}

}  // namespace

void XdgHelpViewer::open(const std::string& path) {
    if (path.empty()) {
        return;
    }
    Result<std::string> opener = FindProgram("xdg-open");
    if (!opener.ok()) {
        return;
    }
    const std::string helpFile = AsArgument(path);
    const std::optional<std::string> manual = FindManual(path);
    if (!manual) {
        (void)SpawnDetached(opener.value(), std::vector<std::string>{"xdg-open", helpFile});
        return;
    }
    if (!IsFile(path)) {
        (void)SpawnDetached(opener.value(), std::vector<std::string>{"xdg-open", *manual});
        return;
    }
    (void)SpawnDetached("/bin/sh", std::vector<std::string>{"sh", "-c", kChooseViewerScript, "sh",
                                                            opener.value(), helpFile, *manual});
}

}  // namespace kw::posix
