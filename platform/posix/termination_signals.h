#pragma once

#include <signal.h>

#include <optional>

#include "platform/posix/unique_fd.h"

namespace kw::posix {

// SIGTERM, SIGINT and SIGHUP as readable data instead of an abrupt end: the program can then
// close its windows and remove its socket like any other ending. Made at the top of main, before
// any thread starts, because the signals are blocked in the creating thread and every thread
// created later inherits that. Programs started from here get a clean mask (ProcessSpawner).
class TerminationSignals {
  public:
    TerminationSignals();
    ~TerminationSignals();

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Readable when a signal is waiting; -1 when none could be opened (the signals then keep
    // their default action).
    int descriptor() const { return fd_.get(); }

    // The waiting signal's number, without blocking.
    std::optional<int> take();

  private:
    sigset_t previousMask_{};
    UniqueFd fd_;
};

}  // namespace kw::posix
