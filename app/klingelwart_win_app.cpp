#include "app/klingelwart_win_app.h"

#include <array>
#include <memory>
#include <utility>

#include "app/phone_books.h"
#include "core/book_files.h"
#include "core/display_options.h"
#include "platform/win32/call_monitor_source.h"
#include "platform/win32/phone/phone_control_source.h"
#include "platform/win32/pipe_call_source.h"
#include "platform/win32/tray_notifier.h"
#include "platform/win32/wide_text.h"
#include "ui/call_source_catalogue.h"

namespace kw::app {

namespace {

// The window hosts the phone control whose calls its source reports.
using SourceRow = ui::CatalogueRow<winui::Win32MainScreenView>;
using MadeSource = std::unique_ptr<platform::CallSource>;

// The sources this system offers, in the dialog's order.
constexpr std::array kSources{
    SourceRow{ui::source::kSteuerelement,
              [](const CallSourceOptions&, winui::Win32MainScreenView& window) -> MadeSource {
                  auto phone = std::make_unique<win32::PhoneControlSource>();
                  window.connectPhone(*phone);
                  return phone;
              }},
    SourceRow{ui::source::kKlingelwartRing,
              [](const CallSourceOptions&, winui::Win32MainScreenView&) -> MadeSource {
                  return std::make_unique<win32::PipeCallSource>();
              }},
    SourceRow{ui::source::kRouter,
              [](const CallSourceOptions& on, winui::Win32MainScreenView&) -> MadeSource {
                  return std::make_unique<win32::CallMonitorSource>(on.RouterHost, on.RouterPort);
              }},
};

}  // namespace

KlingelwartWinApp::KlingelwartWinApp(HINSTANCE instance, platform::InstanceGuard& guard)
    : window_(instance),
      // Owned by the main window or the dialog open on it: modal to that, and above it when the
      // main window is kept on top.
      messages_([this] { return dialogs_.topWindow(); }),
      fileDialog_([this] { return dialogs_.topWindow(); }),
      optionenPlatform_{store_, messages_, files_, fileDialog_},
      // No SIP here, so no password store.
      anrufquellenPlatform_{store_, messages_, ui::DialogRows(kSources),
                            [this](const CallSourceOptions& on) { applySources(on); }, nullptr},
      telefonbuecherPlatform_{store_,
                              messages_,
                              fileDialog_,
                              &credentials_,
                              [this](const PhoneBookOptions& chosen) { books_.load(chosen); },
                              [this] { return books_.statusLines(); }},
      autostart_(win32::Win32ProgramInfo::modulePath()),
      anzeigePlatform_{store_, messages_, autostart_,
                       [this](const DisplayOptions& chosen) { notifications_.apply(chosen); }},
      clipboard_([this] { return dialogs_.topWindow(); }),
      anruflistePlatform_{callLog_,
                          store_,
                          messages_,
                          fileDialog_,
                          clipboard_,
                          [this](std::string_view caller, std::string_view called) {
                              presenter_.runActionFor(caller, called);
                          }},
      windowManager_(window_.window()),
      help_(window_.window()),
      dialogs_(window_.window(), options_, optionenPlatform_, program_, &anrufquellenPlatform_,
               &telefonbuecherPlatform_, &anzeigePlatform_, &anruflistePlatform_),
      platform_{guard,
                program_,
                store_,
                windowManager_,
                help_,
                dialogs_,
                CallActionPlatform{launcher_, automation_, messages_}},
      presenter_(window_, options_, call_, platform_),
      trayIcon_(winui::LoadProgramIcon(GetSystemMetrics(SM_CXSMICON))),
      notificationsPlatform_{
          [this](platform::Notifier::Handlers handlers) -> std::unique_ptr<platform::Notifier> {
              return std::make_unique<win32::TrayNotifier>(trayIcon_.get(), std::move(handlers));
          },
          [this] { return std::string(presenter_.actionCaption()); },
          [this](std::string_view caller, std::string_view called) {
              presenter_.runActionFor(caller, called);
          },
          [this] { windowManager_.bringToFront(); },
          [this](const std::string& reason) { sources_.setNote("Benachrichtigung", reason); }},
      notifications_(notificationsPlatform_),
      callListFile_(win32::CallListDirectory()),
      callLog_(callListFile_),
      incomingPlatform_{
          &callLog_, [this](const std::string& reason) { sources_.setNote("Anrufliste", reason); },
          [this] { showUnseenMissedCalls(); }},
      incoming_(presenter_, call_, notifications_, incomingPlatform_),
      sources_(
          [this](CallSourceKind kind, const platform::CallReport& report) {
              if (!window_.ended()) {
                  incoming_.report(kind, report);
              }
          },
          window_),
      booksPlatform_{[](const std::string& path) { return ReadBookFromDisk(path, ParseBook); },
                     BuildNameIndex,
                     [this](std::function<void()> task) { uiThread_.post(std::move(task)); },
                     []() -> std::unique_ptr<platform::DavClient> {
                         return std::make_unique<win32::WinHttpDavClient>();
                     },
                     win32::WideToUtf8(win32::CallListDirectory()),
                     &credentials_,
                     [this](const std::vector<std::string>& problems) {
                         sources_.setNotes("Telefonbuch", problems);
                     },
                     [this](const ui::NameLookup& names) { incoming_.setNames(names); }},
      books_(booksPlatform_) {
    window_.connectTo(presenter_);
}

KlingelwartWinApp::~KlingelwartWinApp() {
    window_.disconnectPhone();
}

std::vector<ui::KindedSource> KlingelwartWinApp::sourcesFor(const CallSourceOptions& on) {
    return ui::SwitchedOnSources(kSources, on, window_);
}

void KlingelwartWinApp::applySources(const CallSourceOptions& on) {
    // The old phone source goes with the old list; the control itself stays in its box.
    window_.disconnectPhone();
    sources_.replace(sourcesFor(on));
}

bool KlingelwartWinApp::start() {
    if (!presenter_.load()) {
        return false;
    }
    applySources(LoadCallSourceOptions(store_));
    notifications_.apply(LoadDisplayOptions(store_));
    // Outcomes are due some seconds after a call ended; this finds them soon enough.
    uiThread_.every(2000, [this] { incoming_.tick(); });
    books_.load(LoadPhoneBookOptions(store_));
    window_.showAsLoaded();
    // After the first show: a long list takes a few milliseconds to read. A call that rings
    // before is appended to the file and read back with the rest.
    uiThread_.post([this] {
        sources_.setNote("Anrufliste", callLog_.load());
        showUnseenMissedCalls();
    });
    return true;
}

int KlingelwartWinApp::run() {
    return window_.runMessageLoop();
}

void KlingelwartWinApp::showUnseenMissedCalls() {
    presenter_.missedCallsCounted(static_cast<int>(ui::UnseenMissedCalls(callLog_, store_)));
}

}  // namespace kw::app
