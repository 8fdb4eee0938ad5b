#pragma once

// Helpers shared by the tests of the Linux platform pieces: temporary directories with short
// paths (socket paths are limited to 107 bytes), environment overrides, running a program and
// collecting its exit status and standard error.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kw::posix::testing {

// A fresh directory under /tmp (not TMPDIR: socket paths must stay short), removed at the end.
class TempDir {
  public:
    TempDir() {
        std::string pattern = "/tmp/kwp_XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempDir() {
        if (!path_.empty()) {
            std::error_code ignored;
            // Make everything removable again, whatever a test did to the modes.
            for (auto it = std::filesystem::recursive_directory_iterator(
                     path_, std::filesystem::directory_options::none, ignored);
                 !ignored && it != std::filesystem::recursive_directory_iterator();
                 it.increment(ignored)) {
                if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
                    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                                 std::filesystem::perm_options::add, ignored);
                }
            }
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

struct ProgramOutcome {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string standardError;
};

// Runs `program` with `arguments` (argv[0] is the program path) and the environment of this
// process changed by `environment` ("NAME=value" sets NAME; "NAME" alone removes it), and waits
// for it. Everything is prepared before fork, so that it may be used from several threads.
inline ProgramOutcome RunProgram(const std::string& program,
                                 const std::vector<std::string>& arguments,
                                 const std::vector<std::string>& environment = {}) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable(*entry);
        const std::string name = variable.substr(0, variable.find('='));
        bool replaced = false;
        for (const std::string& change : environment) {
            replaced = replaced || change.substr(0, change.find('=')) == name;
        }
        if (!replaced) {
            variables.push_back(variable);
        }
    }
    for (const std::string& change : environment) {
        if (change.find('=') != std::string::npos) {
            variables.push_back(change);
        }
    }
    std::vector<char*> envp;
    for (std::string& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeFds[1], STDERR_FILENO);
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    ProgramOutcome outcome;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n > 0) {
            outcome.standardError.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        outcome.exitCode = WEXITSTATUS(status);
    }
    return outcome;
}

// Waits up to `milliseconds` for `fd` to become readable.
inline bool Readable(int fd, int milliseconds) {
    pollfd watched{fd, POLLIN, 0};
    int result = 0;
    do {
        result = ::poll(&watched, 1, milliseconds);
    } while (result < 0 && errno == EINTR);
    return result > 0 && (watched.revents & POLLIN) != 0;
}

}  // namespace kw::posix::testing
