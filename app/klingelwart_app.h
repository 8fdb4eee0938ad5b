#pragma once

#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/lazy_secret_store.h"
#include "core/app_options.h"
#include "core/call_info.h"
#include "core/call_log.h"
#include "core/call_source_options.h"
#include "core/failure.h"
#include "core/sip_account.h"
#include "platform/call_source.h"
#include "platform/instance_guard.h"
#include "platform/posix/no_automation.h"
#include "platform/posix/posix_call_list_file.h"
#include "platform/posix/posix_file_search.h"
#include "platform/posix/posix_launcher.h"
#include "platform/posix/posix_program_info.h"
#include "platform/posix/xdg_autostart.h"
#include "platform/posix/xdg_help_viewer.h"
#include "platform/qt/german_translation.h"
#include "platform/qt/ini_settings_store.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_window_manager.h"
#include "ui/address_books.h"
#include "ui/anrufliste.h"
#include "ui/anrufquellen.h"
#include "ui/anzeige.h"
#include "ui/call_notifications.h"
#include "ui/call_sources.h"
#include "ui/incoming_calls.h"
#include "ui/main_screen.h"
#include "ui/optionen.h"
#include "ui/qt/qt_dialog_opener.h"
#include "ui/qt/qt_main_screen_view.h"
#include "ui/telefonbuecher.h"

namespace kw::app {

// The sources these options switch on. `ringDirectory` and `reclaimRingLock` as for
// KlingelwartApp; `secrets` holds the SIP password.
std::vector<ui::KindedSource> CallSourcesFor(const CallSourceOptions& options,
                                             const Result<std::string>& ringDirectory,
                                             const std::function<MaybeFailure()>& reclaimRingLock,
                                             platform::SecretStore& secrets);

// The running program: the option record, the last call, every backend, the main window and
// its presenter, wired once and owned here for the whole run.
class KlingelwartApp {
  public:
    // `ringDirectory`: the private runtime directory whose lock this process holds, or why
    // klingelwart-ring cannot reach it; `reclaimRingLock` claims that lock again when the
    // directory was removed and made anew.
    KlingelwartApp(platform::InstanceGuard& instance, Result<std::string> ringDirectory,
                   std::function<MaybeFailure()> reclaimRingLock = {});

    KlingelwartApp(const KlingelwartApp&) = delete;
    KlingelwartApp& operator=(const KlingelwartApp&) = delete;

    // The load sequence, the call sources chosen in the settings, then the first show. False when
    // another instance runs; nothing was shown or opened then.
    [[nodiscard]] bool start();

  private:
    // The missed calls the user has not seen in the call list yet, beside the phone.
    void showUnseenMissedCalls();

    AppOptions options_;
    CallInfo call_;
    qt::IniSettingsStore store_;
    posix::PosixLauncher launcher_;
    posix::NoAutomation automation_;
    posix::PosixProgramInfo program_;
    posix::XdgHelpViewer help_;
    posix::PosixFileSearch files_;
    // Before the boxes and dialogs that need it.
    qt::GermanTranslation german_;
    qt::QtMessageBox messages_;
    qt::QtFileDialog fileDialog_;
    ui::OptionenPlatform optionenPlatform_;
    LazySecretStore secrets_;
    ui::AnrufquellenPlatform anrufquellenPlatform_;
    ui::TelefonbuecherPlatform telefonbuecherPlatform_;
    posix::XdgAutostart autostart_;
    ui::AnzeigePlatform anzeigePlatform_;
    qt::QtClipboard clipboard_;
    // The call list below is made later; this only names it.
    ui::AnruflistePlatform anruflistePlatform_;
    qt::QtDialogOpener dialogs_;
    qt::QtMainScreenView window_;
    qt::QtWindowManager windowManager_;
    ui::MainScreenPlatform platform_;
    ui::MainScreen presenter_;
    Result<std::string> ringDirectory_;
    std::function<MaybeFailure()> reclaimRingLock_;
    ui::CallNotificationsPlatform notificationsPlatform_;
    ui::CallNotifications notifications_;
    posix::PosixCallListFile callListFile_;
    CallLog callLog_;
    ui::IncomingCallsPlatform incomingPlatform_;
    ui::IncomingCalls incoming_;
    ui::CallSources sources_;
    // Hands out the outcomes of calls whose sources have ended them.
    QTimer outcomes_;
    // Reads the call list once the window shows.
    QTimer listLoad_;
    ui::AddressBooksPlatform booksPlatform_;
    // Last: its threads post to the window and the sources above until they are joined.
    ui::AddressBooks books_;
};

}  // namespace kw::app
