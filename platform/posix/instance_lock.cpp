#include "platform/posix/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>

#include "core/error_numbers.h"
#include "platform/posix/errno_text.h"

namespace kw::posix {

namespace {

// The lock of the file at `path`, or the errno why not (EWOULDBLOCK: another holder).
int Lock(const std::string& path, UniqueFd& claim) {
    // O_NOFOLLOW: a symbolic link planted under the name is not followed to some other file.
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd) {
        return errno;
    }
    int result = 0;
    do {
        result = ::flock(fd.get(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        return errno;
    }
    claim = std::move(fd);
    return 0;
}

}  // namespace

InstanceLock::InstanceLock(const std::string& directory)
    : path_(directory.empty() || directory.back() == '/' ? directory + "instance.lock"
                                                         : directory + "/instance.lock") {
    // Without a claim the program starts as if alone.
    otherRunning_ = Lock(path_, fd_) == EWOULDBLOCK;
}

MaybeFailure InstanceLock::reclaim() {
    struct stat held {};
    struct stat found {};
    if (fd_ && ::fstat(fd_.get(), &held) == 0 && ::lstat(path_.c_str(), &found) == 0 &&
        held.st_dev == found.st_dev && held.st_ino == found.st_ino) {
        return std::nullopt;
    }
    UniqueFd claim;
    const int cause = Lock(path_, claim);
    if (cause == EWOULDBLOCK) {
        return Failure{error::kPathFileAccess, "Ein anderes Klingelwart hält die Sperrdatei " +
                                                   path_ + " und nimmt die Anrufe an."};
    }
    if (cause != 0) {
        return Failure{error::kPathFileAccess,
                       "Die Sperrdatei " + path_ +
                           " lässt sich nicht anlegen: " + GermanErrnoText(cause) + "."};
    }
    fd_ = std::move(claim);
    return std::nullopt;
}

bool InstanceLock::previousInstanceRunning() const {
    return otherRunning_;
}

}  // namespace kw::posix
