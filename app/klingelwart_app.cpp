#include "app/klingelwart_app.h"

#include <QCoreApplication>

#include <memory>
#include <utility>

#include "app/module_sources.h"
#include "core/sip_status.h"
#include "platform/qt/ring_socket_source.h"
#include "platform/refused_source.h"
#include "ui/qt/program_icon.h"

namespace kw::app {

namespace {

std::unique_ptr<platform::CallSource> SipSourceFor(const CallSourceOptions& options,
                                                   platform::SecretStore& secrets) {
    SipAccount account{options.SIPServer, options.SIPBenutzer, options.SIPAuthName,
                       options.SIPTransport};
    auto password = secrets.read({options.SIPServer, options.SIPBenutzer});
    if (!password.ok()) {
        return std::make_unique<platform::RefusedSource>(
            SipNoPassword(account, password.failure().description));
    }
    if (!password.value()) {
        return std::make_unique<platform::RefusedSource>(
            SipNoPassword(account, "keins gespeichert"));
    }
    return LoadSipSource(account, *password.value());
}

}  // namespace

std::vector<std::unique_ptr<platform::CallSource>> CallSourcesFor(
    const CallSourceOptions& options, const Result<std::string>& ringDirectory,
    platform::SecretStore& secrets) {
    std::vector<std::unique_ptr<platform::CallSource>> sources;
    if (options.KlingelwartRing) {
        sources.push_back(std::make_unique<qt::RingSocketSource>(ringDirectory));
    }
    if (options.Router) {
        sources.push_back(LoadRouterSource(options.RouterHost, options.RouterPort));
    }
    if (options.SIP) {
        sources.push_back(SipSourceFor(options, secrets));
    }
    return sources;
}

KlingelwartApp::KlingelwartApp(platform::InstanceGuard& instance, Result<std::string> ringDirectory)
    : store_(std::string(kApplicationName), qt::IniSettingsStore::defaultPath(kApplicationName)),
      messages_(qt::ProgramIcon()),
      optionenPlatform_{store_, messages_, files_, fileDialog_},
      anrufquellenPlatform_{store_, messages_, /*hasPhoneControl=*/false,
                            [this](const CallSourceOptions& chosen) {
                                sources_.replace(CallSourcesFor(chosen, ringDirectory_, secrets_));
                            },
                            &secrets_},
      dialogs_(options_, optionenPlatform_, anrufquellenPlatform_, program_),
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
      ringDirectory_(std::move(ringDirectory)),
      sources_([this](std::string_view caller,
                      std::string_view called) { presenter_.phoneRang(caller, called); },
               window_) {
    window_.connectTo(presenter_);
}

bool KlingelwartApp::start() {
    if (!presenter_.load()) {
        return false;
    }
    // After the options: klingelwart-ring reports a call as taken once the socket has it, and a
    // load that hangs would never show it. Before the show, so that no early ring is lost.
    sources_.replace(CallSourcesFor(LoadCallSourceOptions(store_), ringDirectory_, secrets_));
    window_.showAsLoaded();
    return true;
}

}  // namespace kw::app
