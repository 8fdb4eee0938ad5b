#include "platform/posix/posix_file_search.h"

#include <glob.h>
#include <limits.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "core/error_numbers.h"

namespace kw::posix {
namespace {

// A directory that cannot be read on the way means "nothing there", as on Windows; anything
// else (an I/O error) aborts the search.
int OnReadError(const char* /*path*/, int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case EACCES:
        case EPERM:
        case ELOOP:
            return 0;
        default:
            return 1;
    }
}

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?[") != std::string_view::npos;
}

// A path the file system rejects outright: too long as a whole, or a name without wildcards
// that is longer than a name can be (wildcard names may be longer than what they match).
bool TooLong(std::string_view pattern) {
    if (pattern.size() >= PATH_MAX) {
        return true;
    }
    std::size_t start = 0;
    while (start <= pattern.size()) {
        std::size_t end = pattern.find('/', start);
        if (end == std::string_view::npos) {
            end = pattern.size();
        }
        const std::string_view name = pattern.substr(start, end - start);
        if (name.size() > NAME_MAX && !HasWildcard(name)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

bool IsHiddenName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return !name.empty() && name.front() == '.';
}

class GlobResult {
  public:
    GlobResult() = default;
    ~GlobResult() { ::globfree(&result_); }
    GlobResult(const GlobResult&) = delete;
    GlobResult& operator=(const GlobResult&) = delete;
    glob_t* get() { return &result_; }

  private:
    glob_t result_{};
};

}  // namespace

Result<bool> PosixFileSearch::findsOrdinaryFile(std::string_view pattern) {
    if (pattern.find('\0') != std::string_view::npos || TooLong(pattern)) {
        return MakeFailure(error::kPathNotFound);
    }
    if (pattern.empty()) {
        return false;
    }
    const std::string text(pattern);
    GlobResult found;
    const int status = ::glob(text.c_str(), GLOB_NOESCAPE, OnReadError, found.get());
    if (status == GLOB_NOMATCH) {
        return false;
    }
    if (status == GLOB_NOSPACE || status == GLOB_ABORTED) {
        return MakeFailure(error::kPathFileAccess);
    }
    if (status != 0) {
        return MakeFailure(error::kPathFileAccess);
    }
    for (std::size_t index = 0; index < found.get()->gl_pathc; ++index) {
        const char* path = found.get()->gl_pathv[index];
        if (IsHiddenName(path)) {
            continue;
        }
        struct stat info {};
        if (::stat(path, &info) != 0) {
            if (errno == ENAMETOOLONG) {
                return MakeFailure(error::kPathNotFound);
            }
            continue;  // a dangling link or a file gone meanwhile
        }
        if (S_ISREG(info.st_mode)) {
            return true;
        }
    }
    return false;
}

}  // namespace kw::posix
