#include "platform/qt/sip_source.h"

#include <QMetaObject>
#include <QObject>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

#include "core/sip_status.h"

namespace kw::qt {

namespace {

// A flood drops its oldest reports; a call whose ring was dropped just ends unknown.
constexpr std::size_t kMostReports = 256;

}  // namespace

struct SipSource::Report {
    platform::CallStage stage;
    std::string callId;
    std::string caller;
    std::string called;
};

// What the stack's thread leaves for the window: only the newest of each, so a flood cannot
// queue up. `posted` while a delivery is on its way or running. The stack's thread shares it and
// may outlive the source while it takes leave of the registrar.
struct SipSource::Mailbox {
    std::mutex mutex;
    // Null once the source is gone: nothing is delivered any more.
    QObject* context = nullptr;
    std::atomic<bool> stop = false;
    bool finished = false;
    std::condition_variable done;
    std::optional<platform::CallSourceStatus> status;
    // The newest stages of calls, oldest first.
    std::deque<Report> reports;
    bool posted = false;
};

SipSource::SipSource(SipAccount account, std::string password, SipStackOptions options)
    : account_(std::move(account)),
      password_(std::move(password)),
      options_(std::move(options)),
      mailbox_(std::make_shared<Mailbox>()) {}

SipSource::~SipSource() {
    std::unique_lock lock(mailbox_->mutex);
    mailbox_->context = nullptr;
    mailbox_->stop = true;
    if (worker_.joinable()) {
        // A quitting program still gets its un-REGISTER out; the window never waits for the reply.
        if (mailbox_->done.wait_for(lock, std::chrono::milliseconds(80),
                                    [this] { return mailbox_->finished; })) {
            lock.unlock();
            worker_.join();
        } else {
            worker_.detach();
        }
    }
    if (lock.owns_lock()) {
        lock.unlock();
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
    mailbox_->context = context_.get();
    // Runs on the stack's thread, which may outlive this source: `this` is used only through
    // the context, which the source takes away before it goes.
    const auto wake = [this, mailbox = mailbox_](const std::unique_lock<std::mutex>&) {
        if (mailbox->context != nullptr && !mailbox->posted) {
            mailbox->posted = true;
            QMetaObject::invokeMethod(
                mailbox->context, [this] { deliver(); }, Qt::QueuedConnection);
        }
    };
    SipStack::Handlers handlers{
        [mailbox = mailbox_, wake](platform::CallStage stage, std::string callId,
                                   std::string caller, std::string called) {
            std::unique_lock lock(mailbox->mutex);
            if (mailbox->reports.size() >= kMostReports) {
                mailbox->reports.pop_front();
            }
            mailbox->reports.push_back(
                {stage, std::move(callId), std::move(caller), std::move(called)});
            wake(lock);
        },
        [mailbox = mailbox_, wake](platform::CallSourceStatus status) {
            std::unique_lock lock(mailbox->mutex);
            mailbox->status = std::move(status);
            wake(lock);
        }};
    worker_ = std::thread([account = account_, password = password_, options = options_,
                           mailbox = mailbox_, handlers = std::move(handlers)] {
        SipStack::Run(account, password, options, handlers, mailbox->stop);
        const std::lock_guard lock(mailbox->mutex);
        mailbox->finished = true;
        mailbox->done.notify_all();
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
        std::deque<Report> reports;
        {
            const std::lock_guard lock(mailbox_->mutex);
            status.swap(mailbox_->status);
            reports.swap(mailbox_->reports);
            if (!status && reports.empty()) {
                mailbox_->posted = false;
                break;
            }
        }
        if (status && onStatus_) {
            onStatus_(*status);
        }
        if (onReport_) {
            for (const Report& report : reports) {
                onReport_({report.stage, report.callId, report.caller, report.called});
            }
        } else if (onCall_) {
            // Rings alone: only the newest counts, so that a flood shows its last call.
            const auto ring = std::find_if(reports.rbegin(), reports.rend(), [](const Report& r) {
                return r.stage == platform::CallStage::Ringing;
            });
            if (ring != reports.rend()) {
                onCall_(ring->caller, ring->called);
            }
        }
    }
    delivering_ = false;
}

}  // namespace kw::qt
