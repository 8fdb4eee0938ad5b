#include "platform/qt/sip_source.h"

#include <QMetaObject>
#include <QObject>

#include <mutex>
#include <optional>
#include <utility>

#include "core/sip_status.h"

namespace kw::qt {

// What the stack's thread leaves for the window: only the newest of each, so a flood cannot
// queue up. `posted` while a delivery is on its way or running.
struct SipSource::Mailbox {
    std::mutex mutex;
    std::optional<platform::CallSourceStatus> status;
    std::optional<std::pair<std::string, std::string>> call;
    bool posted = false;
};

SipSource::SipSource(SipAccount account, std::string password, SipStackOptions options)
    : account_(std::move(account)),
      password_(std::move(password)),
      options_(std::move(options)),
      mailbox_(std::make_shared<Mailbox>()) {}

SipSource::~SipSource() {
    stop_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
    // Drops a delivery still queued for this source.
    context_.reset();
}

void SipSource::start(CallHandler onCall, StatusHandler onStatus) {
    onCall_ = std::move(onCall);
    onStatus_ = std::move(onStatus);
    context_ = std::make_unique<QObject>();
    if (account_.user.empty() || account_.server.empty()) {
        if (onStatus_) {
            onStatus_({false, SipIncomplete()});
        }
        return;
    }
    if (onStatus_) {
        onStatus_({false, SipRegistering(account_)});
    }
    QObject* context = context_.get();
    const auto wake = [this, context](const std::unique_lock<std::mutex>&) {
        if (!mailbox_->posted) {
            mailbox_->posted = true;
            QMetaObject::invokeMethod(
                context, [this] { deliver(); }, Qt::QueuedConnection);
        }
    };
    SipStack::Handlers handlers{[this, wake](std::string caller, std::string called) {
                                    std::unique_lock lock(mailbox_->mutex);
                                    mailbox_->call.emplace(std::move(caller), std::move(called));
                                    wake(lock);
                                },
                                [this, wake](platform::CallSourceStatus status) {
                                    std::unique_lock lock(mailbox_->mutex);
                                    mailbox_->status = std::move(status);
                                    wake(lock);
                                }};
    worker_ = std::thread([this, handlers = std::move(handlers)] {
        SipStack::Run(account_, password_, options_, handlers, stop_);
    });
}

void SipSource::deliver() {
    // A handler with an event loop of its own: the loop below picks up what came meanwhile.
    if (delivering_) {
        return;
    }
    delivering_ = true;
    for (;;) {
        std::optional<platform::CallSourceStatus> status;
        std::optional<std::pair<std::string, std::string>> call;
        {
            const std::lock_guard lock(mailbox_->mutex);
            status.swap(mailbox_->status);
            call.swap(mailbox_->call);
            if (!status && !call) {
                mailbox_->posted = false;
                break;
            }
        }
        if (status && onStatus_) {
            onStatus_(*status);
        }
        if (call && onCall_) {
            onCall_(call->first, call->second);
        }
    }
    delivering_ = false;
}

}  // namespace kw::qt
