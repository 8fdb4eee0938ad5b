#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kw::platform {

// Whether notifications can be shown, and in German why not (a line for the phone's tooltip).
struct NotifierStatus {
    bool available = true;
    std::string text;

    friend bool operator==(const NotifierStatus&, const NotifierStatus&) = default;
};

// The desktop's notification for the latest call.
//
// Contract:
// - Never blocks the caller for more than a few milliseconds and never throws; a service that
//   answers late or not at all delays nothing but its own notification.
// - show() replaces the notification shown before, so there is at most one at a time.
//   `actionCaption` names the one action button where the desktop offers buttons (empty: none).
// - The handlers run on the UI thread, and never after destruction: onAction for the action
//   button, onActivated for a click on the notification itself, onStatus whenever the status
//   changes (at the latest after the first show()).
class Notifier {
  public:
    struct Handlers {
        std::function<void()> onAction;
        std::function<void()> onActivated;
        std::function<void(const NotifierStatus&)> onStatus;
    };

    virtual ~Notifier() = default;

    // `summary` and `body` are plain text, already made safe and short.
    virtual void show(std::string_view summary, std::string_view body,
                      std::string_view actionCaption) = 0;
    // Takes the current notification away; nothing when none is shown.
    virtual void withdraw() = 0;
};

}  // namespace kw::platform
