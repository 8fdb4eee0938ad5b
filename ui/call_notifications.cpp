#include "ui/call_notifications.h"

#include <utility>

#include "core/call_notification.h"

namespace kw::ui {

CallNotifications::CallNotifications(CallNotificationsPlatform& platform) : platform_(platform) {}

void CallNotifications::apply(const DisplayOptions& options) {
    if (!options.Benachrichtigung) {
        notifier_.reset();
        current_.reset();
        showStatus({});
        return;
    }
    if (notifier_ || !platform_.makeNotifier) {
        return;
    }
    notifier_ = platform_.makeNotifier(platform::Notifier::Handlers{
        [this] {
            if (current_ && platform_.runAction) {
                // A copy: the action may run long and a new call replace the current one.
                const Current call = *current_;
                platform_.runAction(call.caller, call.called);
            }
        },
        [this] {
            if (platform_.showWindow) {
                platform_.showWindow();
            }
        },
        [this](const platform::NotifierStatus& status) { showStatus(status); }});
}

void CallNotifications::rang(std::uint64_t call, std::string_view caller, std::string_view name,
                             std::string_view called) {
    if (!notifier_) {
        return;
    }
    current_ = Current{call, std::string(caller), std::string(name), std::string(called)};
    show(RingingNotification(caller, name, called));
}

void CallNotifications::answered(std::uint64_t call) {
    if (notifier_ && current_ && current_->id == call) {
        current_.reset();
        notifier_->withdraw();
    }
}

void CallNotifications::missed(std::uint64_t call) {
    if (notifier_ && current_ && current_->id == call) {
        show(MissedNotification(current_->caller, current_->name, current_->called));
    }
}

void CallNotifications::show(const CallNotification& text) {
    notifier_->show(text.summary, text.body,
                    platform_.actionCaption ? platform_.actionCaption() : std::string());
}

void CallNotifications::showStatus(const platform::NotifierStatus& status) {
    if (platform_.showReason) {
        platform_.showReason(status.available ? std::string() : status.text);
    }
}

}  // namespace kw::ui
