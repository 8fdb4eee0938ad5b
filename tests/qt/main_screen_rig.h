#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/app_options.h"
#include "core/call_info.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_automation.h"
#include "ui/call_sources.h"
#include "ui/main_screen.h"
#include "ui/qt/qt_main_screen_view.h"

namespace kw::test {

class CountingDialogOpener : public ui::DialogOpener {
  public:
    void openOptionen() override { opened.emplace_back("optionen"); }
    void openInfo() override { opened.emplace_back("info"); }
    void openAnrufquellen() override { opened.emplace_back("anrufquellen"); }
    void openTelefonbuecher() override { opened.emplace_back("telefonbuecher"); }
    void openAnzeige() override { opened.emplace_back("anzeige"); }
    int openAnrufliste() override {
        opened.emplace_back("anrufliste");
        return 0;
    }

    std::vector<std::string> opened;
};

// The real main window and its real presenter, with every backend faked.
struct MainScreenRig {
    FakeSettingsStore store;
    FakeLauncher launcher;
    RecordingAutomation automation;
    FakeMessageBox messages;
    FakeInstanceGuard instance;
    FakeProgramInfo program;
    FakeWindowManager window;
    FakeHelpViewer help;
    CountingDialogOpener dialogs;
    AppOptions options;
    CallInfo call;
    ui::MainScreenPlatform platform{
        instance, program, store, window, help, dialogs, {launcher, automation, messages}};
    int ended = 0;
    qt::QtMainScreenView view{[this] { ++ended; }};
    ui::MainScreen presenter{view, options, call, platform};
    // Routed as the program routes them; add sources, then start().
    int rings = 0;
    ui::CallSources sources{[this](std::string_view caller, std::string_view called) {
                                ++rings;
                                presenter.phoneRang(caller, called);
                            },
                            view};

    MainScreenRig() { view.connectTo(presenter); }
};

}  // namespace kw::test
