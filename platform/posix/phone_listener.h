#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/failure.h"
#include "platform/posix/unique_fd.h"

namespace kw::posix {

// Receives the calls klingelwart-ring reports: a SOCK_SEQPACKET local socket bound to
// <directory>/phone.sock, one message (see core/ring_message.h) per connection.
//
// Never blocks. Watch fd() for readability (QSocketNotifier, poll) and call processReady() each
// time it is readable; fd() stays readable while work is left, so a flood is handled in bounded
// batches across several calls and the event loop keeps running in between.
//
// Only peers of the same user (SO_PEERCRED) are heard; others are closed without a word.
// Messages that are too large, truncated or otherwise malformed are dropped and the listener
// goes on. A peer that connects before it sends (klingelwart-ring connects, then sends, so the
// listener often accepts in between) is kept waiting-for, not waited on: its connection is
// watched through fd() and read once its message is there. It is closed when the message has
// been read, when the peer hangs up, by the first processReady() after it has sent nothing for
// kPendingTimeout, or when more than kMaxPending connections wait (the oldest silent one is
// dropped). A message that has arrived is never dropped for age. Only the first message of a
// connection counts.
//
// The directory is watched (inotify, through the same fd()): once the socket file is removed,
// renamed or replaced, or the directory itself goes, processReady() sets lost(), as nothing can
// reach the socket any more. Without a watch (the user's inotify limits are used up)
// stillBound() tells it on demand.
//
// Not thread-safe: use one listener from one thread.
class PhoneListener {
  public:
    // Connections handled (accepted or read) per processReady() call at most.
    static constexpr std::size_t kMaxBatch = 256;
    // Accepted connections whose message has not arrived yet, at most.
    static constexpr std::size_t kMaxPending = 128;
    static constexpr std::chrono::seconds kPendingTimeout{5};

    // Binds <directory>/phone.sock and listens. Precondition: the caller holds the InstanceLock of
    // `directory`, so no other live instance owns the socket; a socket file found there is left
    // from a crash and is replaced. Failure 76 when the path is too long for a socket or the
    // directory is missing, 70 when access is denied, 75 otherwise, each with a German
    // description. Never throws.
    static Result<std::unique_ptr<PhoneListener>> open(const std::string& directory);

    // Closes every connection and the socket, and removes the socket file (if it is still the
    // one this listener bound).
    ~PhoneListener();

    PhoneListener(const PhoneListener&) = delete;
    PhoneListener& operator=(const PhoneListener&) = delete;

    // The descriptor to watch for readability. It is an epoll descriptor that is readable while
    // the listening socket has connections waiting or a waiting-for connection has data (or hung
    // up). Level-triggered: readable again until processReady() has taken everything.
    int fd() const { return epoll_.get(); }

    const std::string& socketPath() const { return path_; }

    // Accepts and reads what is ready, without blocking, at most kMaxBatch connections, and calls
    // onCall once per good message, in the order read. `caller` and `called` are valid during the
    // call only. Exceptions from onCall pass through; the listener stays usable.
    void processReady(
        const std::function<void(std::string_view caller, std::string_view called)>& onCall);

    // The socket file can no longer be reached under socketPath(); seen by processReady().
    bool lost() const { return lost_; }

    // Whether socketPath() still names the socket this listener bound. One lstat.
    bool stillBound() const;

    // Whether the directory is watched, so that lost() follows by itself.
    bool watched() const { return static_cast<bool>(watch_); }

    // Connections currently waited for (accepted, message not yet there). For tests.
    std::size_t pendingCount() const { return pending_.size(); }

    // Replaces kPendingTimeout. For tests.
    void setPendingTimeout(std::chrono::milliseconds timeout) { pendingTimeout_ = timeout; }

  private:
    struct Pending {
        UniqueFd fd;
        std::chrono::steady_clock::time_point since;
    };
    enum class ReadOutcome { kDone, kNotYet };

    PhoneListener() = default;

    ReadOutcome readOne(int connection,
                        const std::function<void(std::string_view, std::string_view)>& onCall);
    void addPending(UniqueFd connection, std::chrono::steady_clock::time_point since);
    void dropPending(std::size_t index);
    void dropExpired();
    bool peerIsSameUser(int connection) const;
    void watchDirectory(const std::string& directory);
    void takeDirectoryEvents();

    std::string path_;
    UniqueFd socket_;
    UniqueFd epoll_;
    UniqueFd reserve_;
    UniqueFd watch_;
    bool bound_ = false;
    bool lost_ = false;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::vector<Pending> pending_;
    std::chrono::steady_clock::duration pendingTimeout_ = kPendingTimeout;
    std::vector<char> buffer_;
};

}  // namespace kw::posix
