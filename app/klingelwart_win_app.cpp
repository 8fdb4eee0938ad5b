#include "app/klingelwart_win_app.h"

#include <memory>
#include <utility>

#include "platform/win32/phone/phone_control_source.h"

namespace kw::app {

KlingelwartWinApp::KlingelwartWinApp(HINSTANCE instance, platform::InstanceGuard& guard)
    : sources_(
          [this](std::string_view caller, std::string_view called) {
              if (!window_.ended()) {
                  presenter_.phoneRang(caller, called);
              }
          },
          window_),
      window_(instance),
      // Owned by the main window or the dialog open on it: modal to that, and above it when the
      // main window is kept on top.
      messages_([this] { return dialogs_.topWindow(); }),
      fileDialog_([this] { return dialogs_.topWindow(); }),
      optionenPlatform_{store_, messages_, files_, fileDialog_},
      windowManager_(window_.window()),
      help_(window_.window()),
      dialogs_(window_.window(), options_, optionenPlatform_, program_),
      platform_{guard,
                program_,
                store_,
                windowManager_,
                help_,
                dialogs_,
                CallActionPlatform{launcher_, automation_, messages_}},
      presenter_(window_, options_, call_, platform_) {
    window_.connectTo(presenter_);
    auto phone = std::make_unique<win32::PhoneControlSource>();
    window_.connectPhone(*phone);
    sources_.add(std::move(phone));
}

bool KlingelwartWinApp::start() {
    if (!presenter_.load()) {
        return false;
    }
    sources_.start();
    window_.showAsLoaded();
    return true;
}

int KlingelwartWinApp::run() {
    return window_.runMessageLoop();
}

}  // namespace kw::app
