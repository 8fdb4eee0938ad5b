#include "platform/posix/process_spawner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>

#include "core/error_numbers.h"
#include "platform/posix/unique_fd.h"

namespace kw::posix {
namespace {

// With a standard descriptor closed in this process, a new descriptor can land on 0 to 2, where
// the child's redirection of standard input would overwrite it.
UniqueFd AboveStandardDescriptors(UniqueFd fd) {
    if (!fd || fd.get() > STDERR_FILENO) {
        return fd;
    }
    return UniqueFd(::fcntl(fd.get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
}

// No handler of this process may run in a child before exec, where it would find half the state
// of a forked program; the children reset the mask themselves.
class AllSignalsBlocked {
  public:
    AllSignalsBlocked() {
        sigset_t all;
        sigfillset(&all);
        ::pthread_sigmask(SIG_SETMASK, &all, &previous_);
    }
    ~AllSignalsBlocked() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    AllSignalsBlocked(const AllSignalsBlocked&) = delete;
    AllSignalsBlocked& operator=(const AllSignalsBlocked&) = delete;

  private:
    sigset_t previous_{};
};

// What a child tells the parent through the report pipe. Nothing arrives when exec succeeded.
enum class Stage : int { kSetup = 1, kFork = 2, kExec = 3 };
struct ChildReport {
    Stage stage;
    int error;
};

// --- between fork and exec: async-signal-safe calls only ---------------------------------------

void Report(int fd, Stage stage, int error) {
    const ChildReport report{stage, error};
    while (::write(fd, &report, sizeof report) < 0 && errno == EINTR) {
    }
}

// Ignored signals and the mask survive exec; the program gets the defaults.
void ResetSignals() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal = 1; signal < NSIG; ++signal) {
        ::sigaction(signal, &action, nullptr);  // fails harmlessly for KILL, STOP and reserved ones
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

[[noreturn]] void RunProgram(const char* path, char* const* argv, char* const* environment,
                             int devNull, int report) {
    ResetSignals();
    if (::dup2(devNull, STDIN_FILENO) < 0) {
        Report(report, Stage::kSetup, errno);
        ::_exit(127);
    }
#ifdef CLOSE_RANGE_CLOEXEC
    // Descriptors this process opened without O_CLOEXEC are none of the program's business.
    ::close_range(STDERR_FILENO + 1, ~0U, CLOSE_RANGE_CLOEXEC);
#endif
    ::execve(path, argv, environment);
    Report(report, Stage::kExec, errno);
    ::_exit(127);
}

// The middle child gives the program a session of its own and leaves at once, so the program is
// nobody's child here and init reaps it.
[[noreturn]] void RunMiddle(const char* path, char* const* argv, char* const* environment,
                            int devNull, int report) {
    if (::setsid() < 0) {
        Report(report, Stage::kSetup, errno);
        ::_exit(1);
    }
    const pid_t program = ::fork();
    if (program == 0) {
        RunProgram(path, argv, environment, devNull, report);
    }
    if (program < 0) {
        Report(report, Stage::kFork, errno);
        ::_exit(1);
    }
    ::_exit(0);
}

// --- parent ------------------------------------------------------------------------------------

bool IsNamedFileMissing(int error) {
    return error == ENOENT || error == ENOTDIR;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 || !IsNamedFileMissing(errno);
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

Failure SpawnFailure(const ChildReport& report, const std::string& path) {
    if (report.stage != Stage::kExec) {
        return MakeFailure(report.error == ENOMEM ? error::kOutOfMemory : error::kInternal);
    }
    switch (report.error) {
        case ENOMEM:
        case E2BIG:
            return MakeFailure(error::kOutOfMemory);
        case EACCES:
        case EPERM:
            return MakeFailure(IsDirectory(path) ? error::kPathFileAccess : error::kAccessDenied);
        case ENOENT:
        case ENOTDIR:
            // For a file that is there, it is its interpreter that is missing.
            return MakeFailure(Exists(path) ? error::kPathFileAccess : error::kFileNotFound);
        default:
            return MakeFailure(error::kPathFileAccess);
    }
}

void Reap(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

// Blocks until the program has been executed (the pipe closes unwritten) or a child reports.
std::optional<ChildReport> AwaitReport(int fd, bool& broken) {
    ChildReport report{};
    auto* bytes = reinterpret_cast<char*>(&report);
    std::size_t got = 0;
    while (got < sizeof report) {
        const ssize_t n = ::read(fd, bytes + got, sizeof report - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            broken = n < 0 || got != 0;
            return std::nullopt;
        }
        got += static_cast<std::size_t>(n);
    }
    return report;
}

bool HasNul(std::string_view text) {
    return text.find('\0') != std::string_view::npos;
}

MaybeFailure CheckCandidate(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (IsNamedFileMissing(errno)) {
            return MakeFailure(error::kFileNotFound);
        }
        return MakeFailure(errno == EACCES ? error::kAccessDenied : error::kPathFileAccess);
    }
    if (S_ISDIR(info.st_mode)) {
        return MakeFailure(error::kPathFileAccess);
    }
    if (!S_ISREG(info.st_mode) || ::faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS) != 0) {
        return MakeFailure(error::kAccessDenied);
    }
    return std::nullopt;
}

}  // namespace

Result<std::string> FindProgram(const std::string& word) {
    if (word.empty() || HasNul(word)) {
        return MakeFailure(error::kFileNotFound);
    }
    if (word.find('/') != std::string::npos) {
        if (MaybeFailure failure = CheckCandidate(word)) {
            return *std::move(failure);
        }
        return word;
    }

    const char* variable = std::getenv("PATH");
    // What execvp searches when PATH is unset.
    const std::string_view searchPath = variable != nullptr ? variable : "/bin:/usr/bin";
    // Something that is there but cannot run beats "not found", as with execvp.
    MaybeFailure firstObstacle;
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string_view::npos) {
            end = searchPath.size();
        }
        const std::string_view directory = searchPath.substr(start, end - start);
        // An empty entry means the current directory.
        std::string candidate(directory.empty() ? std::string_view(".") : directory);
        candidate += '/';
        candidate += word;
        MaybeFailure failure = CheckCandidate(candidate);
        if (!failure) {
            return candidate;
        }
        if (failure->number != error::kFileNotFound && !firstObstacle) {
            firstObstacle = std::move(failure);
        }
        start = end + 1;
    }
    return firstObstacle ? *std::move(firstObstacle) : MakeFailure(error::kFileNotFound);
}

MaybeFailure SpawnDetached(const std::string& path, const std::vector<std::string>& arguments) {
    if (arguments.empty() || HasNul(path)) {
        return MakeFailure(error::kInvalidCall);
    }
    // Everything the children use is built here: they may only make async-signal-safe calls.
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) {
        if (HasNul(argument)) {
            return MakeFailure(error::kInvalidCall);  // it would arrive cut short
        }
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    char* const* const environment = environ;

    const UniqueFd devNull =
        AboveStandardDescriptors(UniqueFd(::open("/dev/null", O_RDONLY | O_CLOEXEC)));
    int ends[2] = {-1, -1};
    if (!devNull || ::pipe2(ends, O_CLOEXEC) != 0) {
        return MakeFailure(errno == ENOMEM ? error::kOutOfMemory : error::kInternal);
    }
    const UniqueFd readEnd = AboveStandardDescriptors(UniqueFd(ends[0]));
    UniqueFd writeEnd = AboveStandardDescriptors(UniqueFd(ends[1]));
    if (!readEnd || !writeEnd) {
        return MakeFailure(error::kInternal);
    }

    pid_t middle = -1;
    int forkError = 0;
    {
        const AllSignalsBlocked blocked;
        middle = ::fork();
        if (middle == 0) {
            RunMiddle(path.c_str(), argv.data(), environment, devNull.get(), writeEnd.get());
        }
        forkError = errno;
    }
    if (middle < 0) {
        return MakeFailure(forkError == ENOMEM ? error::kOutOfMemory : error::kInternal);
    }
    writeEnd.reset();  // else the read below would never see the end
    Reap(middle);

    bool broken = false;
    const std::optional<ChildReport> report = AwaitReport(readEnd.get(), broken);
    if (report) {
        return SpawnFailure(*report, path);
    }
    if (broken) {
        return MakeFailure(error::kInternal);
    }
    return std::nullopt;
}

}  // namespace kw::posix
