#include <iostream>

#include "core/app_options.h"
#include "core/call_action.h"
#include "platform/posix/ini_settings_store.h"
#include "platform/posix/no_automation.h"
#include "platform/posix/posix_launcher.h"
#include "ui/console/console_main_screen.h"
#include "ui/console/console_message_box.h"

int main() {
    kw::posix::IniSettingsStore store(
        std::string(kw::kApplicationName),
        kw::posix::IniSettingsStore::defaultPath(kw::kApplicationName));
    kw::posix::PosixLauncher launcher;
    kw::posix::NoAutomation automation;
    kw::console::ConsoleMessageBox messages(std::cin, std::cout);
    kw::CallActionPlatform platform{launcher, automation, messages};
    kw::console::ConsoleMainScreen screen(store, platform, std::cin, std::cout);
    screen.run();
    return 0;
}
