#include "platform/posix/posix_call_list_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/errno_text.h"
#include "platform/posix/write_all.h"

namespace kw::posix {

namespace {

// Far more than 20,000 calls take; of a larger file only the end is read.
constexpr off_t kMaxRead = 64 * 1024 * 1024;

std::string Failed(int error) {
    return GermanErrnoText(error);
}

// Each missing directory on the way is made private; the last one is made private in any case.
std::string EnsureDirectory(const std::string& directory) {
    for (std::size_t slash = directory.find('/', 1);; slash = directory.find('/', slash + 1)) {
        const std::string part = directory.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return Failed(errno);
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    return ::chmod(directory.c_str(), 0700) == 0 ? std::string() : Failed(errno);
}

// Makes a new or renamed file's name itself durable.
void SyncDirectory(const std::string& directory) {
    const UniqueFd dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) {
        ::fsync(dir.get());
    }
}

}  // namespace

std::string CallListDirectory(const char* xdgDataHome, const char* home) {
    // A relative XDG path is to be ignored.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return std::string(xdgDataHome) + "/Klingelwart";
    }
    return std::string(home != nullptr ? home : "") + "/.local/share/Klingelwart";
}

PosixCallListFile::PosixCallListFile(std::string directory)
    : directory_(std::move(directory)), path_(directory_ + "/Anrufliste") {}

platform::CallListFileRead PosixCallListFile::read() {
    const UniqueFd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (!fd) {
        return {{}, errno == ENOENT ? std::string() : Failed(errno)};
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return {{}, Failed(errno)};
    }
    const off_t start = info.st_size > kMaxRead ? info.st_size - kMaxRead : 0;
    std::string bytes(static_cast<std::size_t>(info.st_size - start), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::pread(fd.get(), bytes.data() + got, bytes.size() - got,
                                  start + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;  // shrunk meanwhile, or unreadable from here: what came is read
        }
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return {std::move(bytes), {}};
}

std::string PosixCallListFile::openForAppend() {
    if (fd_) {
        return {};
    }
    if (std::string error = EnsureDirectory(directory_); !error.empty()) {
        return error;
    }
    const bool existed = ::access(path_.c_str(), F_OK) == 0;
    fd_ = UniqueFd(
        ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd_) {
        return Failed(errno);
    }
    ::fchmod(fd_.get(), 0600);
    if (!existed) {
        SyncDirectory(directory_);
    }
    return {};
}

std::string PosixCallListFile::append(std::string_view bytes) {
    if (std::string error = openForAppend(); !error.empty()) {
        return error;
    }
    struct stat before {};
    if (::fstat(fd_.get(), &before) != 0) {
        return Failed(errno);
    }
    int error = WriteAll(fd_.get(), bytes);
    if (error == 0 && ::fdatasync(fd_.get()) != 0) {
        error = errno;
    }
    if (error != 0) {
        // Nothing of a failed record stays behind for the next one to follow.
        if (::ftruncate(fd_.get(), before.st_size) == 0) {
            ::fdatasync(fd_.get());
        }
        return Failed(error);
    }
    return {};
}

std::string PosixCallListFile::replace(std::string_view contents) {
    if (std::string error = EnsureDirectory(directory_); !error.empty()) {
        return error;
    }
    const std::string temporary = path_ + ".neu";
    int error = 0;
    {
        const UniqueFd fd(
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!fd) {
            return Failed(errno);
        }
        error = WriteAll(fd.get(), contents);
        if (error == 0 && ::fsync(fd.get()) != 0) {
            error = errno;
        }
    }
    if (error == 0 && ::rename(temporary.c_str(), path_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return Failed(error);
    }
    SyncDirectory(directory_);
    fd_.reset();  // it still names the old file
    return {};
}

}  // namespace kw::posix
