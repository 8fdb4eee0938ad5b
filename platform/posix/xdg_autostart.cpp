#include "platform/posix/xdg_autostart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>

#include "platform/posix/errno_text.h"
#include "platform/posix/unique_fd.h"

namespace kw::posix {

namespace {

constexpr char kEntryName[] = "klingelwart.desktop";

Failure FromErrno(int error, const std::string& path) {
    return Failure{
        ErrorNumberFromErrno(error),
        "Der Autostart-Eintrag " + path + " lässt sich nicht ändern: " + GermanErrnoText(error)};
}

// A string value of a desktop entry: backslash and the line breaks escaped.
std::string StringValue(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// An Exec argument: quoted, with the characters the format reserves inside quotes escaped; the
// result is a string value, so its backslashes are escaped once more.
std::string ExecArgument(const std::string& path) {
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
        // A lone "%" would start a field code that the launcher replaces.
        if (c == '%') {
            quoted += '%';
        }
    }
    quoted += '"';
    return StringValue(quoted);
}

MaybeFailure MakeDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return FromErrno(errno, path);
    }
    return std::nullopt;
}

// Written beside the entry and renamed over it, so that a session starting meanwhile never
// reads half an entry.
MaybeFailure WriteWhole(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    UniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd) {
        return FromErrno(errno, path);
    }
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t written = ::write(fd.get(), rest.data(), rest.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            ::unlink(temporary.c_str());
            return FromErrno(error, path);
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::fsync(fd.get()) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return FromErrno(error, path);
    }
    return std::nullopt;
}

}  // namespace

XdgAutostart::XdgAutostart(std::string configHome, std::string program)
    : configHome_(std::move(configHome)), program_(std::move(program)) {}

std::string XdgAutostart::defaultConfigHome() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return config;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config";
}

std::string XdgAutostart::entryPath() const {
    return configHome_ + "/autostart/" + kEntryName;
}

std::string XdgAutostart::entryText() const {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Klingelwart\n"
           "Comment=Zeigt bei jedem Anruf, wer anruft\n"
           "Icon=klingelwart\n"
           "Exec=" +
           ExecArgument(program_) +
           "\n"
           "TryExec=" +
           StringValue(program_) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

Result<bool> XdgAutostart::enabled() {
    std::ifstream in(entryPath());
    if (!in) {
        return false;
    }
    // The desktops' own ways to switch an entry off without removing it.
    std::string line;
    while (std::getline(in, line)) {
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") {
            return false;
        }
    }
    return true;
}

MaybeFailure XdgAutostart::set(bool on) {
    const std::string path = entryPath();
    if (!on) {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            return FromErrno(errno, path);
        }
        return std::nullopt;
    }
    if (MaybeFailure failure = MakeDirectory(configHome_)) {
        return failure;
    }
    if (MaybeFailure failure = MakeDirectory(configHome_ + "/autostart")) {
        return failure;
    }
    return WriteWhole(path, entryText());
}

}  // namespace kw::posix
