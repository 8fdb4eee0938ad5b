#pragma once

#include <string>

#include "core/failure.h"
#include "platform/instance_guard.h"
#include "platform/posix/unique_fd.h"

namespace kw::posix {

// The single-instance claim of one user: an exclusive flock(2) on <directory>/instance.lock,
// taken without waiting when the object is made and held on an open descriptor for the object's
// life. The kernel drops the lock when the holding process ends in any way, so a lock file left
// behind by a crashed instance never blocks; the file's content means nothing and nothing else
// (no pid file) is consulted.
//
// The lock belongs to the open file description: a second InstanceLock on the same directory,
// even in the same process, sees the first as running. The descriptor is close-on-exec, so
// programs started by Klingelwart do not keep the claim alive.
class InstanceLock final : public platform::InstanceGuard {
  public:
    explicit InstanceLock(const std::string& directory);

    // True only when another live holder has the lock. False when the lock is ours, and also when
    // the lock file cannot be opened at all (missing directory, no permission): the program must
    // start all the same.
    bool previousInstanceRunning() const override;

    // True when this object holds the lock.
    bool claimed() const { return static_cast<bool>(fd_); }

    // Makes sure the lock file now found at path() is the one held: after the file, or its
    // directory, was removed and made again, claims the new file (the old claim goes). Failure
    // when another instance holds the new one, or it cannot be opened; the old claim then stays.
    MaybeFailure reclaim();

    const std::string& path() const { return path_; }

  private:
    std::string path_;
    UniqueFd fd_;
    bool otherRunning_ = false;
};

}  // namespace kw::posix
