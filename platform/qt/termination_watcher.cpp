#include "platform/qt/termination_watcher.h"

#include <QCoreApplication>

namespace kw::qt {

TerminationWatcher::TerminationWatcher(posix::TerminationSignals& ending) : signals_(ending) {
    if (signals_.descriptor() < 0) {
        return;
    }
    notifier_.emplace(signals_.descriptor(), QSocketNotifier::Read);
    QObject::connect(&*notifier_, &QSocketNotifier::activated, &*notifier_, [this] {
        if (signals_.take()) {
            received_ = true;
            QCoreApplication::exit(0);
        }
    });
}

}  // namespace kw::qt
