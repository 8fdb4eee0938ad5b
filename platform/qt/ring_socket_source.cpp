#include "platform/qt/ring_socket_source.h"

#include <QSocketNotifier>
#include <QTimer>

#include <utility>

#include "core/receiving_status.h"
#include "platform/posix/phone_listener.h"
#include "platform/posix/runtime_directory.h"

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

platform::CallSourceStatus NotListening(std::string_view why) {
    return {false, NotReceiving(why)};
}

}  // namespace

RingSocketSource::RingSocketSource(Result<std::string> directory,
                                   std::function<MaybeFailure()> reclaimLock,
                                   std::chrono::milliseconds recheck)
    : directory_(std::move(directory)), reclaimLock_(std::move(reclaimLock)), recheck_(recheck) {}

RingSocketSource::~RingSocketSource() = default;

void RingSocketSource::start(CallHandler onCall, StatusHandler onStatus) {
    onCall_ = std::move(onCall);
    onStatus_ = std::move(onStatus);
    if (!directory_.ok()) {
        report(NotListening(directory_.failure().description));
        return;
    }
    timer_ = std::make_unique<QTimer>();
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] { check(); });
    auto listener = posix::PhoneListener::open(directory_.value());
    if (!listener.ok()) {
        report(NotListening(listener.failure().description));
        return;
    }
    listen(std::move(listener.value()));
}

void RingSocketSource::listen(std::unique_ptr<posix::PhoneListener> listener) {
    listener_ = std::move(listener);
    notifier_ = std::make_unique<QSocketNotifier>(listener_->fd(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { takeCalls(); });
    // Without a watch on the directory only looking tells a loss.
    if (listener_->watched()) {
        timer_->stop();
    } else {
        timer_->start(recheck_);
    }
    report({true, ReceivingThrough(listener_->socketPath())});
}

void RingSocketSource::takeCalls() {
    {
        // A handler that runs an event loop of its own must not re-enter the listener.
        const Resume resume(*notifier_);
        listener_->processReady([this](std::string_view caller, std::string_view called) {
            if (onCall_) {
                onCall_(caller, called);
            }
        });
    }
    if (listener_->lost()) {
        lose();
    }
}

void RingSocketSource::check() {
    if (notifier_ && !notifier_->isEnabled()) {
        return;  // a call is being handed over; the listener stays until it is done
    }
    if (!listener_) {
        reopen(posix::PhoneSocketPath(directory_.value()));
    } else if (!listener_->stillBound()) {
        lose();
    }
}

void RingSocketSource::lose() {
    const std::string path = listener_->socketPath();
    notifier_.reset();
    listener_.reset();
    reopen(path);
}

void RingSocketSource::reopen(const std::string& lostPath) {
    const std::string& directory = directory_.value();
    Result<std::unique_ptr<posix::PhoneListener>> listener = [&] {
        if (auto made = posix::EnsurePrivateDirectory(directory); !made.ok()) {
            return Result<std::unique_ptr<posix::PhoneListener>>(made.failure());
        }
        if (reclaimLock_) {
            if (MaybeFailure failure = reclaimLock_()) {
                return Result<std::unique_ptr<posix::PhoneListener>>(std::move(*failure));
            }
        }
        return posix::PhoneListener::open(directory);
    }();
    if (listener.ok()) {
        listen(std::move(listener.value()));
        return;
    }
    timer_->start(recheck_);
    report(NotListening("Die Verbindung " + lostPath +
                        " ist verloren gegangen und lässt sich noch nicht neu einrichten. " +
                        listener.failure().description));
}

// Only changes: the recheck would otherwise repeat the same text every time.
void RingSocketSource::report(platform::CallSourceStatus status) {
    if (status == reported_ && !reported_.text.empty()) {
        return;
    }
    reported_ = std::move(status);
    if (onStatus_) {
        onStatus_(reported_);
    }
}

}  // namespace kw::qt
