#include "platform/posix/termination_signals.h"

#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>

namespace kw::posix {

TerminationSignals::TerminationSignals() {
    // An ignored signal stays ignored: `nohup` and shells that start programs in the background
    // ask for that.
    sigset_t wanted;
    sigemptyset(&wanted);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaddset(&wanted, signal);
        }
    }
    fd_ = UniqueFd(::signalfd(-1, &wanted, SFD_NONBLOCK | SFD_CLOEXEC));
    if (fd_) {
        ::pthread_sigmask(SIG_BLOCK, &wanted, &previousMask_);
    }
}

TerminationSignals::~TerminationSignals() {
    if (fd_) {
        // A signal still waiting would end the process abruptly once unblocked.
        while (take()) {
        }
        ::pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
    }
}

std::optional<int> TerminationSignals::take() {
    signalfd_siginfo info{};
    ssize_t read = 0;
    do {
        read = ::read(fd_.get(), &info, sizeof info);
    } while (read < 0 && errno == EINTR);
    if (read != static_cast<ssize_t>(sizeof info)) {
        return std::nullopt;
    }
    return static_cast<int>(info.ssi_signo);
}

}  // namespace kw::posix
