#include "platform/posix/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

namespace kw::posix {

InstanceLock::InstanceLock(const std::string& directory)
    : path_(directory.empty() || directory.back() == '/' ? directory + "instance.lock"
                                                         : directory + "/instance.lock") {
    // O_NOFOLLOW: a symbolic link planted under the name is not followed to some other file.
    UniqueFd fd(::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd) {
        return;  // no claim possible: the program starts as if alone
    }
    int result = 0;
    do {
        result = ::flock(fd.get(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        fd_ = std::move(fd);
    } else if (errno == EWOULDBLOCK) {
        otherRunning_ = true;
    }
}

bool InstanceLock::previousInstanceRunning() const {
    return otherRunning_;
}

}  // namespace kw::posix
