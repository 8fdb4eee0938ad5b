#include "platform/posix/instance_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "posix_test_support.h"

namespace kw::posix {
namespace {

using testing::TempDir;

// Asks, in a child process, whether a new lock there sees a running instance. 1 yes, 0 no.
int RunningSeenByAnotherProcess(const std::string& directory) {
    const pid_t child = ::fork();
    if (child == 0) {
        const InstanceLock lock(directory);
        ::_exit(lock.previousInstanceRunning() ? 1 : 0);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// A child process that takes the lock, reports whether it got it, and stays until killed.
class LockHolder {
  public:
    explicit LockHolder(const std::string& directory) {
        int report[2];
        if (::pipe(report) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(report[0]);
            const InstanceLock lock(directory);
            const char claimed = lock.claimed() ? '1' : '0';
            (void)!::write(report[1], &claimed, 1);
            for (;;) {
                ::pause();
            }
        }
        ::close(report[1]);
        char claimed = 0;
        claimed_ = ::read(report[0], &claimed, 1) == 1 && claimed == '1';
        ::close(report[0]);
    }
    ~LockHolder() { kill(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool claimed() const { return claimed_; }
    void kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

  private:
    pid_t pid_ = -1;
    bool claimed_ = false;
};

TEST(InstanceLock, FirstInstanceClaimsTheLock) {
    TempDir dir;
    const InstanceLock lock(dir.path());
    EXPECT_TRUE(lock.claimed());
    EXPECT_FALSE(lock.previousInstanceRunning());
    EXPECT_EQ(lock.path(), dir / "instance.lock");
}

TEST(InstanceLock, SecondProcessSeesTheFirst) {
    TempDir dir;
    const InstanceLock lock(dir.path());
    ASSERT_TRUE(lock.claimed());
    EXPECT_EQ(RunningSeenByAnotherProcess(dir.path()), 1);
}

TEST(InstanceLock, LockOfAKilledProcessDoesNotBlock) {
    TempDir dir;
    LockHolder holder(dir.path());
    ASSERT_TRUE(holder.claimed());
    {
        const InstanceLock second(dir.path());
        EXPECT_TRUE(second.previousInstanceRunning());
        EXPECT_FALSE(second.claimed());
    }
    holder.kill();  // a crash: no clean-up, the lock file stays
    ASSERT_EQ(::access((dir / "instance.lock").c_str(), F_OK), 0);
    const InstanceLock next(dir.path());
    EXPECT_FALSE(next.previousInstanceRunning());
    EXPECT_TRUE(next.claimed());
}

TEST(InstanceLock, ReleasedWhenDestroyed) {
    TempDir dir;
    { const InstanceLock first(dir.path()); }
    EXPECT_EQ(RunningSeenByAnotherProcess(dir.path()), 0);
}

TEST(InstanceLock, FileContentDoesNotMatter) {
    TempDir dir;
    std::ofstream(dir / "instance.lock") << "4242\n";  // like a pid file of a dead process
    const InstanceLock lock(dir.path());
    EXPECT_TRUE(lock.claimed());
    EXPECT_FALSE(lock.previousInstanceRunning());
}

TEST(InstanceLock, SecondLockInTheSameProcessSeesTheFirst) {
    TempDir dir;
    const InstanceLock first(dir.path());
    const InstanceLock second(dir.path());
    EXPECT_TRUE(second.previousInstanceRunning());
}

TEST(InstanceLock, MissingDirectoryLetsTheProgramStart) {
    TempDir dir;
    const InstanceLock lock(dir / "missing");
    EXPECT_FALSE(lock.previousInstanceRunning());
    EXPECT_FALSE(lock.claimed());
}

TEST(InstanceLock, SymbolicLinkIsNotFollowed) {
    TempDir dir;
    const std::string target = dir / "target";
    ASSERT_EQ(::symlink(target.c_str(), (dir / "instance.lock").c_str()), 0);
    const InstanceLock lock(dir.path());
    EXPECT_FALSE(lock.claimed());
    EXPECT_FALSE(lock.previousInstanceRunning());
    EXPECT_NE(::access(target.c_str(), F_OK), 0);  // not created through the link
}

TEST(InstanceLock, StartedProgramsDoNotInheritTheClaim) {
    TempDir dir;
    pid_t child = -1;
    {
        const InstanceLock lock(dir.path());
        ASSERT_TRUE(lock.claimed());
        // The pipe's write end closes in the child on exec: end of file tells exec happened.
        int execed[2];
        ASSERT_EQ(::pipe2(execed, O_CLOEXEC), 0);
        child = ::fork();
        if (child == 0) {
            ::execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(execed[1]);
        char ignored = 0;
        EXPECT_EQ(::read(execed[0], &ignored, 1), 0);
        ::close(execed[0]);
    }
    EXPECT_EQ(RunningSeenByAnotherProcess(dir.path()), 0);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

}  // namespace
}  // namespace kw::posix
