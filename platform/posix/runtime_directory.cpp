#include "platform/posix/runtime_directory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "core/error_numbers.h"
#include "platform/posix/errno_text.h"
#include "platform/posix/unique_fd.h"

namespace kw::posix {
namespace {

static_assert(kMaxSocketPathLength + 1 == sizeof(sockaddr_un{}.sun_path));

constexpr mode_t kPrivateMode = 0700;

Failure PathFailure(std::int32_t number, std::string description) {
    return Failure{number, std::move(description)};
}

bool LeavesRoomForEntries(const std::string& directory) {
    return directory.size() + 1 + kLongestEntryName <= kMaxSocketPathLength;
}

Failure TooLong(const std::string& directory) {
    return PathFailure(error::kPathNotFound, "Der Pfad \"" + directory +
                                                 "\" ist zu lang für die lokale Verbindung von "
                                                 "Klingelwart.");
}

// Checks what lstat found; narrows the mode of the user's own directory to 0700.
MaybeFailure CheckPrivate(const std::string& path, const struct stat& found) {
    if (S_ISLNK(found.st_mode)) {
        return PathFailure(error::kAccessDenied,
                           "Das Verzeichnis \"" + path +
                               "\" ist ein symbolischer Verweis und wird nicht verwendet.");
    }
    if (!S_ISDIR(found.st_mode)) {
        return PathFailure(error::kAccessDenied, "\"" + path + "\" ist kein Verzeichnis.");
    }
    if (found.st_uid != ::geteuid()) {
        return PathFailure(error::kAccessDenied, "Das Verzeichnis \"" + path +
                                                     "\" gehört einem anderen Benutzer und wird "
                                                     "nicht verwendet.");
    }
    if ((found.st_mode & 07777) == kPrivateMode) {
        return std::nullopt;
    }
    // Ours, but open to others (or closed even to us, after a strict umask). Narrowed through a
    // descriptor of the very directory checked, so that nothing swapped in meanwhile is changed.
    // An O_PATH descriptor needs no permission on the directory; it is changed through its
    // /proc/self/fd link. Without /proc, the path itself is changed: the entry cannot be
    // replaced by others in the user's own parent or in sticky /tmp.
    UniqueFd directory(::open(path.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {};
    bool narrowed = false;
    if (directory && ::fstat(directory.get(), &opened) == 0 && opened.st_dev == found.st_dev &&
        opened.st_ino == found.st_ino && opened.st_uid == ::geteuid()) {
        const std::string link = "/proc/self/fd/" + std::to_string(directory.get());
        narrowed = ::chmod(link.c_str(), kPrivateMode) == 0 ||
                   (errno == ENOENT && ::chmod(path.c_str(), kPrivateMode) == 0);
    }
    if (!narrowed) {
        return PathFailure(error::kAccessDenied, "Das Verzeichnis \"" + path +
                                                     "\" kann nicht auf den Eigentümer "
                                                     "beschränkt werden.");
    }
    return std::nullopt;
}

}  // namespace

Result<std::string> EnsurePrivateDirectory(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return PathFailure(error::kPathNotFound, "Ungültiger Verzeichnisname \"" + path + "\".");
    }
    struct stat found {};
    if (::lstat(path.c_str(), &found) != 0) {
        if (errno != ENOENT) {
            const int cause = errno;
            return PathFailure(error::kPathNotFound,
                               "Das Verzeichnis \"" + path +
                                   "\" ist nicht erreichbar: " + GermanErrnoText(cause) + ".");
        }
        if (::mkdir(path.c_str(), kPrivateMode) != 0 && errno != EEXIST) {
            const int cause = errno;
            return PathFailure(error::kPathNotFound, "Das Verzeichnis \"" + path +
                                                         "\" kann nicht angelegt werden: " +
                                                         GermanErrnoText(cause) + ".");
        }
        if (::lstat(path.c_str(), &found) != 0) {
            const int cause = errno;
            return PathFailure(error::kPathNotFound,
                               "Das Verzeichnis \"" + path +
                                   "\" ist nicht erreichbar: " + GermanErrnoText(cause) + ".");
        }
    }
    if (MaybeFailure failure = CheckPrivate(path, found)) {
        return std::move(*failure);
    }
    return path;
}

Result<std::string> PrivateRuntimeDirectoryIn(std::string_view xdgRuntimeDir,
                                              const std::string& fallbackParent) {
    if (!xdgRuntimeDir.empty() && xdgRuntimeDir.front() == '/') {
        std::string directory(xdgRuntimeDir);
        while (directory.size() > 1 && directory.back() == '/') {
            directory.pop_back();
        }
        if (directory.size() > 1) {
            directory.push_back('/');
        }
        directory.append("klingelwart");
        if (LeavesRoomForEntries(directory)) {
            Result<std::string> found = EnsurePrivateDirectory(directory);
            if (found.ok()) {
                return found;
            }
        }
    }
    std::string fallback = fallbackParent;
    if (fallback.empty() || fallback.back() != '/') {
        fallback.push_back('/');
    }
    fallback.append("klingelwart-" + std::to_string(::geteuid()));
    if (!LeavesRoomForEntries(fallback)) {
        return TooLong(fallback);
    }
    return EnsurePrivateDirectory(fallback);
}

Result<std::string> PrivateRuntimeDirectory() {
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    return PrivateRuntimeDirectoryIn(xdg == nullptr ? std::string_view() : std::string_view(xdg),
                                     "/tmp");
}

std::string PhoneSocketPath(const std::string& directory) {
    std::string path = directory;
    if (path.empty() || path.back() != '/') {
        path.push_back('/');
    }
    path.append(kPhoneSocketName);
    return path;
}

}  // namespace kw::posix
