#include "platform/posix/phone_listener.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/error_numbers.h"
#include "core/ring_message.h"
#include "platform/posix/errno_text.h"
#include "platform/posix/runtime_directory.h"

namespace kw::posix {
namespace {

Failure SetupFailure(const std::string& path, int cause) {
    std::int32_t number = error::kPathFileAccess;
    if (cause == ENOENT || cause == ENOTDIR || cause == ENAMETOOLONG) {
        number = error::kPathNotFound;
    } else if (cause == EACCES || cause == EPERM || cause == EROFS) {
        number = error::kAccessDenied;
    }
    return Failure{number, "Die Verbindung für Anrufe unter \"" + path +
                               "\" kann nicht eingerichtet werden: " + GermanErrnoText(cause) +
                               "."};
}

// A message (or the hang-up) of a waiting connection is there to be read.
bool HasInput(int fd) {
    pollfd watched{fd, POLLIN, 0};
    return ::poll(&watched, 1, 0) > 0;
}

}  // namespace

Result<std::unique_ptr<PhoneListener>> PhoneListener::open(const std::string& directory) {
    const std::string path = PhoneSocketPath(directory);
    if (path.size() > kMaxSocketPathLength || path.find('\0') != std::string::npos) {
        return Failure{error::kPathNotFound,
                       "Der Pfad \"" + path +
                           "\" ist zu lang oder ungültig für die lokale Verbindung von "
                           "Klingelwart."};
    }
    std::unique_ptr<PhoneListener> listener(new PhoneListener());
    listener->path_ = path;

    listener->socket_ =
        UniqueFd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!listener->socket_) {
        return SetupFailure(path, errno);
    }
    // Precondition: the caller holds the instance lock, so a socket file here was left by a
    // crash (nobody listens on it) and is ours to replace.
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        return SetupFailure(path, errno);
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (::bind(listener->socket_.get(), reinterpret_cast<const sockaddr*>(&address),
               sizeof address) != 0) {
        return SetupFailure(path, errno);
    }
    struct stat bound {};
    if (::lstat(path.c_str(), &bound) == 0) {
        listener->device_ = bound.st_dev;
        listener->inode_ = bound.st_ino;
    }
    // From here on the destructor removes the socket file again on every way out.
    listener->bound_ = true;
    if (::listen(listener->socket_.get(), SOMAXCONN) != 0) {
        return SetupFailure(path, errno);
    }
    listener->epoll_ = UniqueFd(::epoll_create1(EPOLL_CLOEXEC));
    if (!listener->epoll_) {
        return SetupFailure(path, errno);
    }
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = listener->socket_.get();
    if (::epoll_ctl(listener->epoll_.get(), EPOLL_CTL_ADD, listener->socket_.get(), &event) != 0) {
        return SetupFailure(path, errno);
    }
    // Kept in reserve so that connections can still be taken off the queue (and closed) when the
    // process runs out of descriptors; otherwise the socket would stay readable forever.
    listener->reserve_ = UniqueFd(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    listener->buffer_.resize(kMaxRingMessage);
    listener->watchDirectory(directory);
    return listener;
}

PhoneListener::~PhoneListener() {
    pending_.clear();
    epoll_.reset();
    socket_.reset();
    // Only the file this listener bound: never one that replaced it.
    if (bound_ && stillBound()) {
        ::unlink(path_.c_str());
    }
}

void PhoneListener::watchDirectory(const std::string& directory) {
    UniqueFd watch(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    constexpr std::uint32_t kGone = IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CREATE |
                                    IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_ONLYDIR;
    if (!watch || ::inotify_add_watch(watch.get(), directory.c_str(), kGone) < 0) {
        return;
    }
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = watch.get();
    if (::epoll_ctl(epoll_.get(), EPOLL_CTL_ADD, watch.get(), &event) == 0) {
        watch_ = std::move(watch);
    }
}

void PhoneListener::takeDirectoryEvents() {
    // The events only say that something changed; what counts is where the path leads now.
    alignas(inotify_event) std::array<char, 4096> events{};
    while (::read(watch_.get(), events.data(), events.size()) > 0) {
    }
    if (!stillBound()) {
        lost_ = true;
    }
}

bool PhoneListener::stillBound() const {
    struct stat current {};
    return ::lstat(path_.c_str(), &current) == 0 && S_ISSOCK(current.st_mode) &&
           current.st_dev == device_ && current.st_ino == inode_;
}

void PhoneListener::processReady(
    const std::function<void(std::string_view caller, std::string_view called)>& onCall) {
    std::size_t budget = kMaxBatch;

    std::array<epoll_event, kMaxPending + 1> events{};
    const int ready = ::epoll_wait(epoll_.get(), events.data(), static_cast<int>(events.size()), 0);
    bool acceptReady = false;
    for (int index = 0; index < ready && budget > 0; ++index) {
        const int fd = events[static_cast<std::size_t>(index)].data.fd;
        if (fd == socket_.get()) {
            acceptReady = true;
            continue;
        }
        if (watch_ && fd == watch_.get()) {
            takeDirectoryEvents();
            continue;
        }
        std::size_t position = 0;
        while (position < pending_.size() && pending_[position].fd.get() != fd) {
            ++position;
        }
        if (position == pending_.size()) {
            continue;
        }
        // Taken out before reading, so that nothing is left half done if onCall throws.
        Pending waiting = std::move(pending_[position]);
        pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(position));
        ::epoll_ctl(epoll_.get(), EPOLL_CTL_DEL, waiting.fd.get(), nullptr);
        --budget;
        if (readOne(waiting.fd.get(), onCall) == ReadOutcome::kNotYet) {
            addPending(std::move(waiting.fd), waiting.since);
        }
    }

    while (acceptReady && budget > 0) {
        const int accepted =
            ::accept4(socket_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (accepted < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                --budget;
                continue;
            }
            if ((errno == EMFILE || errno == ENFILE) && reserve_) {
                // Out of descriptors: take one connection off the queue and close it, so that
                // the socket does not stay readable without progress.
                reserve_.reset();
                UniqueFd(::accept4(socket_.get(), nullptr, nullptr, SOCK_CLOEXEC));
                reserve_ = UniqueFd(::open("/dev/null", O_RDONLY | O_CLOEXEC));
                --budget;
                continue;
            }
            break;  // EAGAIN: nothing more waiting
        }
        UniqueFd connection(accepted);
        --budget;
        if (!peerIsSameUser(connection.get())) {
            continue;  // closed without a word
        }
        if (readOne(connection.get(), onCall) == ReadOutcome::kNotYet) {
            addPending(std::move(connection), std::chrono::steady_clock::now());
        }
    }
    // Last, so that a message that has come meanwhile is read rather than thrown away.
    dropExpired();
}

PhoneListener::ReadOutcome PhoneListener::readOne(
    int connection, const std::function<void(std::string_view, std::string_view)>& onCall) {
    iovec part{buffer_.data(), buffer_.size()};
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    ssize_t received = 0;
    do {
        received = ::recvmsg(connection, &message, MSG_DONTWAIT | MSG_TRUNC | MSG_CMSG_CLOEXEC);
    } while (received < 0 && errno == EINTR);
    if (received < 0) {
        return errno == EAGAIN || errno == EWOULDBLOCK ? ReadOutcome::kNotYet : ReadOutcome::kDone;
    }
    // Zero bytes: the peer hung up without a message, or sent an empty one. With MSG_TRUNC the
    // kernel reports the full length of a message larger than the buffer.
    if (received == 0 || (message.msg_flags & MSG_TRUNC) != 0 ||
        static_cast<std::size_t>(received) > buffer_.size()) {
        return ReadOutcome::kDone;
    }
    std::optional<RingCall> call =
        DecodeRing(std::string_view(buffer_.data(), static_cast<std::size_t>(received)));
    if (call) {
        onCall(call->caller, call->called);
    }
    return ReadOutcome::kDone;
}

void PhoneListener::addPending(UniqueFd connection, std::chrono::steady_clock::time_point since) {
    if (pending_.size() >= kMaxPending) {
        // The oldest that still has nothing to say; the oldest of all if every one has.
        std::size_t victim = 0;
        while (victim < pending_.size() && HasInput(pending_[victim].fd.get())) {
            ++victim;
        }
        dropPending(victim < pending_.size() ? victim : 0);
    }
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = connection.get();
    if (::epoll_ctl(epoll_.get(), EPOLL_CTL_ADD, connection.get(), &event) != 0) {
        return;  // cannot be watched: dropped
    }
    pending_.push_back(Pending{std::move(connection), since});
}

void PhoneListener::dropPending(std::size_t index) {
    ::epoll_ctl(epoll_.get(), EPOLL_CTL_DEL, pending_[index].fd.get(), nullptr);
    pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(index));
}

void PhoneListener::dropExpired() {
    const auto now = std::chrono::steady_clock::now();
    for (std::size_t index = pending_.size(); index-- > 0;) {
        if (now - pending_[index].since >= pendingTimeout_ && !HasInput(pending_[index].fd.get())) {
            dropPending(index);
        }
    }
}

bool PhoneListener::peerIsSameUser(int connection) const {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           size == sizeof peer && peer.uid == ::geteuid();
}

}  // namespace kw::posix
