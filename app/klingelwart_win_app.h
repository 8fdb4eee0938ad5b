#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/app_options.h"
#include "core/call_info.h"
#include "core/call_log.h"
#include "core/call_source_options.h"
#include "platform/instance_guard.h"
#include "platform/win32/com/dispatch_automation.h"
#include "platform/win32/credential_store.h"
#include "platform/win32/html_help_viewer.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/run_key_autostart.h"
#include "platform/win32/ui_thread_queue.h"
#include "platform/win32/win32_call_list_file.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_file_dialog.h"
#include "platform/win32/win32_file_search.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_program_info.h"
#include "platform/win32/win32_window_manager.h"
#include "platform/win32/winhttp_dav_client.h"
#include "ui/address_books.h"
#include "ui/anrufliste.h"
#include "ui/anrufquellen.h"
#include "ui/anzeige.h"
#include "ui/call_notifications.h"
#include "ui/call_sources.h"
#include "ui/incoming_calls.h"
#include "ui/main_screen.h"
#include "ui/optionen.h"
#include "ui/telefonbuecher.h"
#include "ui/win32/program_icon.h"
#include "ui/win32/win32_dialog_opener.h"
#include "ui/win32/win32_main_screen_view.h"

namespace kw::app {

// The running Windows program: the option record, the last call, every backend, the main window
// and its presenter, wired once and owned here for the whole run. Needs an OLE apartment on the
// calling thread for its whole life, because the main window hosts the phone control.
class KlingelwartWinApp {
  public:
    KlingelwartWinApp(HINSTANCE instance, platform::InstanceGuard& guard);
    // The sources go first, while the window and the presenter they report to still stand.
    ~KlingelwartWinApp();

    KlingelwartWinApp(const KlingelwartWinApp&) = delete;
    KlingelwartWinApp& operator=(const KlingelwartWinApp&) = delete;

    // The load sequence, the call sources, then the first show. False when another instance runs;
    // nothing was shown then.
    [[nodiscard]] bool start();

    // Runs the window's messages until the program ends; returns the exit code.
    int run();

  private:
    // The sources the options switch on, the phone control's handed to the window.
    std::vector<ui::KindedSource> sourcesFor(const CallSourceOptions& on);
    void applySources(const CallSourceOptions& on);
    // The missed calls the user has not seen in the call list yet, beside the phone.
    void showUnseenMissedCalls();

    AppOptions options_;
    CallInfo call_;
    win32::RegistrySettingsStore store_;
    win32::Win32Launcher launcher_;
    win32::DispatchAutomation automation_;
    win32::Win32ProgramInfo program_;
    win32::Win32FileSearch files_;
    winui::Win32MainScreenView window_;
    win32::Win32MessageBox messages_;
    win32::Win32FileDialog fileDialog_;
    ui::OptionenPlatform optionenPlatform_;
    ui::AnrufquellenPlatform anrufquellenPlatform_;
    win32::CredentialStore credentials_;
    ui::TelefonbuecherPlatform telefonbuecherPlatform_;
    win32::RunKeyAutostart autostart_;
    ui::AnzeigePlatform anzeigePlatform_;
    win32::Win32Clipboard clipboard_;
    // The call list below is made later; this only names it.
    ui::AnruflistePlatform anruflistePlatform_;
    win32::Win32WindowManager windowManager_;
    win32::HtmlHelpViewer help_;
    winui::Win32DialogOpener dialogs_;
    ui::MainScreenPlatform platform_;
    ui::MainScreen presenter_;
    win32::UiThreadQueue uiThread_;
    winui::UniqueIcon trayIcon_;
    ui::CallNotificationsPlatform notificationsPlatform_;
    // Before the sources, whose calls it announces; after the window its icon belongs to.
    ui::CallNotifications notifications_;
    win32::Win32CallListFile callListFile_;
    CallLog callLog_;
    ui::IncomingCallsPlatform incomingPlatform_;
    ui::IncomingCalls incoming_;
    // Near the end, so that they go early; the destructor takes the phone source back from the
    // window.
    ui::CallSources sources_;
    ui::AddressBooksPlatform booksPlatform_;
    // Last: its threads post into the members above until they are joined.
    ui::AddressBooks books_;
};

}  // namespace kw::app
