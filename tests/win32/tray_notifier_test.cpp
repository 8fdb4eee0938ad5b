#include "platform/win32/tray_notifier.h"

#include <gtest/gtest.h>

#include <optional>

namespace kw::win32 {
namespace {

struct Events {
    int activations = 0;
    std::optional<platform::NotifierStatus> status;
};

platform::Notifier::Handlers HandlersFor(Events& events) {
    return {{},
            [&events] { ++events.activations; },
            [&events](const platform::NotifierStatus& s) { events.status = s; }};
}

// Wine has a notification area only where it runs a desktop; either way the icon's status is
// reported at once, and a lost area is looked for again when Explorer announces a new one.
TEST(TrayNotifier, ReportsWhetherTheAreaIsThereAndShowsWithoutWaiting) {
    Events events;
    TrayNotifier notifier(LoadIconW(nullptr, IDI_APPLICATION), HandlersFor(events));
    ASSERT_TRUE(events.status.has_value());
    const bool area = FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
    EXPECT_EQ(events.status->available, area);
    if (!area) {
        EXPECT_EQ(events.status->text,
                  "Keine Benachrichtigungen: Der Infobereich der Taskleiste ist nicht erreichbar.");
    }
    const DWORD start = GetTickCount();
    notifier.show(std::string(300, 'x') + "\xF0\x9F\x93\x9E", "auf Leitung: 1", "&Wählen");
    notifier.withdraw();
    EXPECT_LT(GetTickCount() - start, 100u);
    SendMessageW(notifier.window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_EQ(events.status->available, area);
}

TEST(TrayNotifier, AClickOnTheBalloonOrTheIconShowsTheWindow) {
    Events events;
    TrayNotifier notifier(LoadIconW(nullptr, IDI_APPLICATION), HandlersFor(events));
    for (const UINT event : {UINT{NIN_BALLOONUSERCLICK}, UINT{NIN_SELECT}, UINT{WM_LBUTTONUP}}) {
        SendMessageW(notifier.window(), TrayNotifier::kIconMessage, 0, MAKELPARAM(event, 1));
    }
    SendMessageW(notifier.window(), TrayNotifier::kIconMessage, 0,
                 MAKELPARAM(NIN_BALLOONTIMEOUT, 1));
    EXPECT_EQ(events.activations, 3);
}

}  // namespace
}  // namespace kw::win32
