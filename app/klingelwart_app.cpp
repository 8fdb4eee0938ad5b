#include "app/klingelwart_app.h"

#include <QCoreApplication>

#include <memory>
#include <utility>

#include "platform/qt/call_monitor_source.h"
#include "platform/qt/ring_socket_source.h"
#include "platform/qt/sip_source.h"
#include "ui/qt/program_icon.h"

namespace kw::app {

KlingelwartApp::KlingelwartApp(platform::InstanceGuard& instance, Result<std::string> ringDirectory,
                               bool callMonitor, std::optional<SipAccount> sip,
                               std::string sipPassword)
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
      presenter_(window_, options_, call_, platform_),
      sources_([this](std::string_view caller,
                      std::string_view called) { presenter_.phoneRang(caller, called); },
               window_) {
    window_.connectTo(presenter_);
    sources_.add(std::make_unique<qt::RingSocketSource>(std::move(ringDirectory)));
    if (callMonitor) {
        sources_.add(std::make_unique<qt::CallMonitorSource>());
    }
    if (sip) {
        sources_.add(std::make_unique<qt::SipSource>(std::move(*sip), std::move(sipPassword)));
    }
}

bool KlingelwartApp::start() {
    if (!presenter_.load()) {
        return false;
    }
    // After the options: klingelwart-ring reports a call as taken once the socket has it, and a
    // load that hangs would never show it. Before the show, so that no early ring is lost.
    sources_.start();
    window_.showAsLoaded();
    return true;
}

}  // namespace kw::app
