// Stands in for a started program in the launcher tests. Writes to the file named by
// KW_RECORD_FILE, each field as "<length>:<bytes>\n": its session id, whether standard input is
// /dev/null, whether SIGPIPE has its default action, whether no signal is blocked, then argv[0]
// and every argument. Writes a temporary file and renames it, so a reader never sees half.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void AddField(std::string& out, std::string_view value) {
    out += std::to_string(value.size());
    out += ':';
    out += value;
    out += '\n';
}

bool StdinIsDevNull() {
    struct stat in {};
    struct stat null {};
    return ::fstat(STDIN_FILENO, &in) == 0 && ::stat("/dev/null", &null) == 0 &&
           S_ISCHR(in.st_mode) && in.st_rdev == null.st_rdev;
}

bool SigpipeIsDefault() {
    struct sigaction action {};
    return ::sigaction(SIGPIPE, nullptr, &action) == 0 && action.sa_handler == SIG_DFL;
}

bool NoSignalBlocked() {
    sigset_t mask;
    sigemptyset(&mask);
    if (::sigprocmask(SIG_BLOCK, nullptr, &mask) != 0) {
        return false;
    }
    for (int signal = 1; signal < NSIG; ++signal) {
        if (sigismember(&mask, signal) == 1) {
            return false;
        }
    }
    return true;
}

class NewFile {
  public:
    explicit NewFile(const std::string& path)
        : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600)) {}
    ~NewFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    bool write(std::string_view data) {
        while (!data.empty()) {
            const ssize_t n = fd_ < 0 ? -1 : ::write(fd_, data.data(), data.size());
            if (n <= 0) {
                return false;
            }
            data.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

  private:
    int fd_;
};

}  // namespace

int main(int argc, char** argv) {
    const char* target = std::getenv("KW_RECORD_FILE");
    if (target == nullptr || *target == '\0') {
        return 2;
    }
    std::string out;
    AddField(out, std::to_string(::getsid(0)));
    AddField(out, StdinIsDevNull() ? "1" : "0");
    AddField(out, SigpipeIsDefault() ? "1" : "0");
    AddField(out, NoSignalBlocked() ? "1" : "0");
    for (int i = 0; i < argc; ++i) {
        AddField(out, argv[i]);
    }

    const std::string temporary = std::string(target) + ".tmp" + std::to_string(::getpid());
    bool written = false;
    {
        NewFile file(temporary);
        written = file.write(out);
    }
    if (!written || ::rename(temporary.c_str(), target) != 0) {
        ::unlink(temporary.c_str());
        return 1;
    }
    return 0;
}
