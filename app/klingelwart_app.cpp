#include "app/klingelwart_app.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QMenu>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include "app/module_sources.h"
#include "app/phone_books.h"
#include "core/book_files.h"
#include "core/display_options.h"
#include "core/sip_status.h"
#include "platform/qt/dbus_notifier.h"
#include "platform/qt/ring_socket_source.h"
#include "platform/refused_source.h"
#include "ui/call_source_catalogue.h"
#include "ui/qt/program_icon.h"

namespace kw::app {

namespace {

// Outcomes are due some seconds after a call ended; this finds them soon enough.
constexpr std::chrono::seconds kOutcomeTick{2};

// What this system's sources are made from.
struct SourceContext {
    const Result<std::string>& ringDirectory;
    const std::function<MaybeFailure()>& reclaimRingLock;
    platform::SecretStore& secrets;
};

std::unique_ptr<platform::CallSource> SipSourceFor(const CallSourceOptions& options,
                                                   platform::SecretStore& secrets) {
    SipAccount account{options.SIPServer, options.SIPBenutzer, options.SIPAuthName,
                       options.SIPTransport, options.SIPZertifikat};
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

using SourceRow = ui::CatalogueRow<SourceContext>;
using MadeSource = std::unique_ptr<platform::CallSource>;

// The sources this system offers, in the dialog's order.
constexpr std::array kSources{
    SourceRow{ui::source::kKlingelwartRing,
              [](const CallSourceOptions&, SourceContext& context) -> MadeSource {
                  return std::make_unique<qt::RingSocketSource>(context.ringDirectory,
                                                                context.reclaimRingLock);
              }},
    SourceRow{ui::source::kRouter,
              [](const CallSourceOptions& options, SourceContext&) -> MadeSource {
                  return LoadRouterSource(options.RouterHost, options.RouterPort);
              }},
    SourceRow{ui::source::kSip,
              [](const CallSourceOptions& options, SourceContext& context) -> MadeSource {
                  return SipSourceFor(options, context.secrets);
              }},
};

// $XDG_CACHE_HOME/Klingelwart, else ~/.cache/Klingelwart; a relative XDG path is ignored.
std::string CacheDirectory(const char* xdgCacheHome, const char* home) {
    if (xdgCacheHome != nullptr && xdgCacheHome[0] == '/') {
        return std::string(xdgCacheHome) + "/Klingelwart";
    }
    return std::string(home != nullptr ? home : "") + "/.cache/Klingelwart";
}

}  // namespace

std::vector<ui::KindedSource> CallSourcesFor(const CallSourceOptions& options,
                                             const Result<std::string>& ringDirectory,
                                             const std::function<MaybeFailure()>& reclaimRingLock,
                                             platform::SecretStore& secrets) {
    SourceContext context{ringDirectory, reclaimRingLock, secrets};
    return ui::SwitchedOnSources(kSources, options, context);
}

KlingelwartApp::KlingelwartApp(platform::InstanceGuard& instance, Result<std::string> ringDirectory,
                               std::function<MaybeFailure()> reclaimRingLock)
    : store_(std::string(kApplicationName), qt::IniSettingsStore::defaultPath(kApplicationName)),
      german_([] {
          std::fputs(
              "Klingelwart: Qts deutsche Texte (qtbase_de.qm) fehlen; Qts eigene Knöpfe "
              "und Menüs bleiben englisch.\n",
              stderr);
      }),
      messages_(qt::ProgramIcon(), &german_),
      fileDialog_(&german_),
      optionenPlatform_{store_, messages_, files_, fileDialog_},
      anrufquellenPlatform_{
          store_, messages_, ui::DialogRows(kSources),
          [this](const CallSourceOptions& chosen) {
              sources_.replace(CallSourcesFor(chosen, ringDirectory_, reclaimRingLock_, secrets_));
          },
          &secrets_},
      telefonbuecherPlatform_{store_,
                              messages_,
                              fileDialog_,
                              &secrets_,
                              [this](const PhoneBookOptions& chosen) { books_.load(chosen); },
                              [this] { return books_.statusLines(); }},
      autostart_(posix::XdgAutostart::defaultConfigHome(), program_.directory() + "/klingelwart"),
      anzeigePlatform_{store_, messages_, autostart_,
                       [this](const DisplayOptions& chosen) { notifications_.apply(chosen); }},
      anruflistePlatform_{callLog_,
                          store_,
                          messages_,
                          fileDialog_,
                          clipboard_,
                          [this](std::string_view caller, std::string_view called) {
                              presenter_.runActionFor(caller, called);
                          }},
      dialogs_(options_, optionenPlatform_, anrufquellenPlatform_, anzeigePlatform_, program_,
               &telefonbuecherPlatform_, &anruflistePlatform_, &german_),
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
      reclaimRingLock_(std::move(reclaimRingLock)),
      notificationsPlatform_{
          [](platform::Notifier::Handlers handlers) -> std::unique_ptr<platform::Notifier> {
              return std::make_unique<qt::DBusNotifier>(QDBusConnection::sessionBus(),
                                                        std::move(handlers));
          },
          [this] { return std::string(presenter_.actionCaption()); },
          [this](std::string_view caller, std::string_view called) {
              presenter_.runActionFor(caller, called);
          },
          [this] { windowManager_.bringToFront(); },
          [this](const std::string& reason) { sources_.setNote("Benachrichtigung", reason); }},
      notifications_(notificationsPlatform_),
      callListFile_(posix::CallListDirectory(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"))),
      callLog_(callListFile_),
      incomingPlatform_{
          &callLog_, [this](const std::string& reason) { sources_.setNote("Anrufliste", reason); },
          [this] { showUnseenMissedCalls(); }},
      incoming_(presenter_, call_, notifications_, incomingPlatform_),
      sources_([this](CallSourceKind kind,
                      const platform::CallReport& report) { incoming_.report(kind, report); },
               window_),
      booksPlatform_{[](const std::string& path) { return ReadBookFromDisk(path, ParseBook); },
                     BuildNameIndex,
                     [this](std::function<void()> task) {
                         QMetaObject::invokeMethod(&window_, std::move(task), Qt::QueuedConnection);
                     },
                     [] { return LoadDavClient(); },
                     CacheDirectory(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME")),
                     &secrets_,
                     [this](const std::vector<std::string>& problems) {
                         sources_.setNotes("Telefonbuch", problems);
                     },
                     [this](const ui::NameLookup& names) { incoming_.setNames(names); }},
      books_(booksPlatform_) {
    window_.connectTo(presenter_);
    // The menus show their shortcuts in Qt's words (Strg, Umschalt).
    for (QMenu* menu : window_.findChildren<QMenu*>()) {
        QObject::connect(menu, &QMenu::aboutToShow, menu, [this] { german_.need(); });
    }
}

bool KlingelwartApp::start() {
    if (!presenter_.load()) {
        return false;
    }
    // After the options: klingelwart-ring reports a call as taken once the socket has it, and a
    // load that hangs would never show it. Before the show, so that no early ring is lost.
    sources_.replace(
        CallSourcesFor(LoadCallSourceOptions(store_), ringDirectory_, reclaimRingLock_, secrets_));
    notifications_.apply(LoadDisplayOptions(store_));
    QObject::connect(&outcomes_, &QTimer::timeout, &outcomes_, [this] { incoming_.tick(); });
    outcomes_.start(kOutcomeTick);
    books_.load(LoadPhoneBookOptions(store_));
    window_.showAsLoaded();
    // After the first show: a long list takes a few milliseconds to read. A call that rings
    // before is appended to the file and read back with the rest.
    // A timer of our own: a single shot of Qt's would outlive the app unless a loop ran.
    listLoad_.setSingleShot(true);
    QObject::connect(&listLoad_, &QTimer::timeout, &listLoad_, [this] {
        sources_.setNote("Anrufliste", callLog_.load());
        showUnseenMissedCalls();
    });
    listLoad_.start(0);
    return true;
}

void KlingelwartApp::showUnseenMissedCalls() {
    presenter_.missedCallsCounted(static_cast<int>(ui::UnseenMissedCalls(callLog_, store_)));
}

}  // namespace kw::app
