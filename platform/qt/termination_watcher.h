#pragma once

#include <QSocketNotifier>

#include <optional>

#include "platform/posix/termination_signals.h"

namespace kw::qt {

// Ends the event loop when a termination signal arrives, like the window's close box: no
// question, nothing written, and every open dialog's loop ends as well.
class TerminationWatcher {
  public:
    explicit TerminationWatcher(posix::TerminationSignals& ending);

    TerminationWatcher(const TerminationWatcher&) = delete;
    TerminationWatcher& operator=(const TerminationWatcher&) = delete;

    // A signal handled in a dialog before the main loop ran must keep that loop from starting:
    // QApplication::exec() forgets an earlier exit().
    bool received() const { return received_; }

  private:
    posix::TerminationSignals& signals_;
    std::optional<QSocketNotifier> notifier_;
    bool received_ = false;
};

}  // namespace kw::qt
