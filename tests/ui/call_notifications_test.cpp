#include "ui/call_notifications.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kw::ui {
namespace {

// Records what the desktop was asked to show; the rig keeps its handlers to play the user.
class FakeNotifier : public platform::Notifier {
  public:
    explicit FakeNotifier(std::vector<std::string>& log) : log_(log) {}
    ~FakeNotifier() override { log_.push_back("weg"); }
    void show(std::string_view summary, std::string_view, std::string_view action) override {
        log_.push_back(std::string(summary) + "|" + std::string(action));
    }
    void withdraw() override { log_.push_back("zurück"); }

  private:
    std::vector<std::string>& log_;
};

struct Rig {
    std::vector<std::string> log;
    platform::Notifier::Handlers handlers;
    std::vector<std::string> actions;
    int shown = 0;
    std::vector<std::string> reasons;
    CallNotificationsPlatform platform{
        [this](platform::Notifier::Handlers h) {
            handlers = std::move(h);
            return std::make_unique<FakeNotifier>(log);
        },
        [] { return std::string("&Wählen"); },
        [this](std::string_view caller, std::string_view called) {
            actions.push_back(std::string(caller) + ">" + std::string(called));
        },
        [this] { ++shown; }, [this](const std::string& reason) { reasons.push_back(reason); }};
    CallNotifications notifications{platform};
};

TEST(CallNotifications, FollowsTheNewestCallAndRunsTheActionForIt) {
    Rig rig;
    rig.notifications.rang(1, "1", "", "9");  // off: nothing
    rig.notifications.apply({.Benachrichtigung = true});
    rig.notifications.apply({.Benachrichtigung = true});  // still one notifier
    rig.notifications.rang(2, "030 1", "Erika", "9");
    rig.notifications.rang(3, "030 2", "", "8");
    rig.notifications.missed(2);    // an older call: no change
    rig.notifications.answered(2);  // likewise
    rig.handlers.onAction();
    rig.notifications.missed(3);
    rig.handlers.onActivated();
    rig.notifications.rang(4, "", "", "7");
    rig.notifications.answered(4);
    rig.handlers.onAction();  // nothing current any more
    rig.notifications.apply({.Benachrichtigung = false});

    EXPECT_EQ(rig.log, (std::vector<std::string>{"Anruf von Erika (030 1)|&Wählen",
                                                 "Anruf von 030 2|&Wählen",
                                                 "Verpasster Anruf von 030 2|&Wählen",
                                                 "Anruf ohne Rufnummer|&Wählen", "zurück", "weg"}));
    EXPECT_EQ(rig.actions, (std::vector<std::string>{"030 2>8"}));
    EXPECT_EQ(rig.shown, 1);
}

TEST(CallNotifications, TheReasonReachesTheTooltipAndGoesWithTheOption) {
    Rig rig;
    rig.notifications.apply({.Benachrichtigung = true});
    rig.handlers.onStatus({false,
                           "Keine Benachrichtigungen: Der Desktop bietet keinen "
                           "Benachrichtigungsdienst."});
    rig.notifications.apply({.Benachrichtigung = false});
    EXPECT_EQ(rig.reasons, (std::vector<std::string>{"Keine Benachrichtigungen: Der Desktop bietet "
                                                     "keinen Benachrichtigungsdienst.",
                                                     ""}));
}

}  // namespace
}  // namespace kw::ui
