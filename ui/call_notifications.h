#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/call_notification.h"
#include "core/display_options.h"
#include "platform/notifier.h"

namespace kw::ui {

struct CallNotificationsPlatform {
    // Makes the desktop's notifier; called when notifications are switched on.
    std::function<std::unique_ptr<platform::Notifier>(platform::Notifier::Handlers)> makeNotifier;
    // The action button's caption as the main window shows it now.
    std::function<std::string()> actionCaption;
    // The configured action with one call's numbers, as the action button runs it.
    std::function<void(std::string_view caller, std::string_view called)> runAction;
    // Brings the main window up; only ever because the user clicked the notification.
    std::function<void()> showWindow;
    // A line for the phone's tooltip: why notifications cannot be shown, or empty.
    std::function<void(const std::string& reason)> showReason;
};

// One notification for the newest call: a newer call replaces it, an answered call withdraws
// it, a missed one turns it into "Verpasster Anruf von …". Its action button runs the action
// for that call, not for whatever rang since.
class CallNotifications {
  public:
    explicit CallNotifications(CallNotificationsPlatform& platform);

    // On makes the notifier (once), off removes it with whatever it shows.
    void apply(const DisplayOptions& options);

    // `call` tells the calls apart; outcomes for any call but the newest change nothing.
    void rang(std::uint64_t call, std::string_view caller, std::string_view name,
              std::string_view called);
    void answered(std::uint64_t call);
    void missed(std::uint64_t call);

  private:
    void show(const CallNotification& text);
    void showStatus(const platform::NotifierStatus& status);

    CallNotificationsPlatform& platform_;
    struct Current {
        std::uint64_t id = 0;
        std::string caller;
        std::string name;
        std::string called;
    };
    std::optional<Current> current_;
    std::unique_ptr<platform::Notifier> notifier_;
};

}  // namespace kw::ui
