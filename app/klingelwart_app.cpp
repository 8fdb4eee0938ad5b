#include "app/klingelwart_app.h"

#include <QCoreApplication>

#include <utility>

#include "platform/posix/phone_listener.h"
#include "ui/qt/phone_control_widget.h"
#include "ui/qt/program_icon.h"

namespace kw::app {

KlingelwartApp::KlingelwartApp(platform::InstanceGuard& instance)
    : store_(std::string(kApplicationName), qt::IniSettingsStore::defaultPath(kApplicationName)),
      messages_(qt::ProgramIcon()),
      optionenPlatform_{store_, messages_, files_, fileDialog_},
      dialogs_(options_, optionenPlatform_, program_),
      window_([] { QCoreApplication::exit(0); }),
      windowManager_(window_),
      platform_{instance,
                program_,
                store_,
                windowManager_,
                help_,
                dialogs_,
                CallActionPlatform{launcher_, automation_, messages_}},
      presenter_(window_, options_, call_, platform_) {
    window_.connectTo(presenter_);
}

bool KlingelwartApp::start() {
    if (!presenter_.load()) {
        return false;
    }
    window_.showAsLoaded();
    return true;
}

void KlingelwartApp::listenForCalls(const std::string& directory) {
    auto listener = posix::PhoneListener::open(directory);
    if (!listener.ok()) {
        cannotListen(listener.failure().description);
        return;
    }
    window_.phoneControl().listen(std::move(listener.value()));
}

void KlingelwartApp::cannotListen(std::string_view reason) {
    window_.phoneControl().showNotListening(reason);
}

}  // namespace kw::app
