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
      // Owned by the main window: modal to it, and above it when it is kept on top.
      messages_(window_.window()),
      windowManager_(window_.window()),
      help_(window_.window()),
      dialogs_(window_.window(), options_, store_, files_, program_),
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
