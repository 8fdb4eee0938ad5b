#include "platform/qt/ring_socket_source.h"

#include <QSocketNotifier>

#include <utility>

#include "core/receiving_status.h"
#include "platform/posix/phone_listener.h"

namespace kw::qt {

namespace {

// Enables the notifier again however the handler leaves.
class Resume {
  public:
    explicit Resume(QSocketNotifier& notifier) : notifier_(notifier) {
        notifier_.setEnabled(false);
    }
    ~Resume() { notifier_.setEnabled(true); }
    Resume(const Resume&) = delete;
    Resume& operator=(const Resume&) = delete;

  private:
    QSocketNotifier& notifier_;
};

}  // namespace

RingSocketSource::RingSocketSource(Result<std::string> directory)
    : directory_(std::move(directory)) {}

RingSocketSource::~RingSocketSource() = default;

void RingSocketSource::start(CallHandler onCall, StatusHandler onStatus) {
    onCall_ = std::move(onCall);
    if (!directory_.ok()) {
        onStatus({false, NotReceiving(directory_.failure().description)});
        return;
    }
    auto listener = posix::PhoneListener::open(directory_.value());
    if (!listener.ok()) {
        onStatus({false, NotReceiving(listener.failure().description)});
        return;
    }
    listener_ = std::move(listener.value());
    notifier_ = std::make_unique<QSocketNotifier>(listener_->fd(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { takeCalls(); });
    onStatus({true, ReceivingThrough(listener_->socketPath())});
}

void RingSocketSource::takeCalls() {
    // A handler that runs an event loop of its own must not re-enter the listener.
    const Resume resume(*notifier_);
    listener_->processReady([this](std::string_view caller, std::string_view called) {
        if (onCall_) {
            onCall_(caller, called);
        }
    });
}

}  // namespace kw::qt
