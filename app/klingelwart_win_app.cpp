#include "app/klingelwart_win_app.h"

#include <array>
#include <memory>
#include <utility>

#include "platform/win32/call_monitor_source.h"
#include "platform/win32/phone/phone_control_source.h"
#include "platform/win32/pipe_call_source.h"
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
      windowManager_(window_.window()),
      help_(window_.window()),
      dialogs_(window_.window(), options_, optionenPlatform_, program_, &anrufquellenPlatform_),
      platform_{guard,
                program_,
                store_,
                windowManager_,
                help_,
                dialogs_,
                CallActionPlatform{launcher_, automation_, messages_}},
      presenter_(window_, options_, call_, platform_),
      sources_(
          [this](std::string_view caller, std::string_view called) {
              if (!window_.ended()) {
                  presenter_.phoneRang(caller, called);
              }
          },
          window_) {
    window_.connectTo(presenter_);
}

KlingelwartWinApp::~KlingelwartWinApp() {
    window_.disconnectPhone();
}

std::vector<std::unique_ptr<platform::CallSource>> KlingelwartWinApp::sourcesFor(
    const CallSourceOptions& on) {
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
    window_.showAsLoaded();
    return true;
}

int KlingelwartWinApp::run() {
    return window_.runMessageLoop();
}

}  // namespace kw::app
