// Notification latency: from a ring handed to the call notifications to the Notify request
// arriving at the notification server. The server is this process's own, on a second connection
// to the same session bus, so both ends read one clock. Run it on a private bus
// (tools/bench-notify.sh); prints median, p95 and maximum; figures only.
//
//   kw_notification_bench [RINGS]
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_figures.h"
#include "platform/qt/dbus_notifier.h"
#include "ui/call_notifications.h"

namespace {

using kw::bench::Clock;
using kw::bench::Milliseconds;

// Takes every notification and notes when its request arrived.
class ArrivalServer final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

  public:
    std::optional<Clock::time_point> arrived;
    QEventLoop* waiting = nullptr;

  public slots:
    QStringList GetCapabilities() { return {QStringLiteral("body"), QStringLiteral("actions")}; }

    uint Notify(const QString& /*app*/, uint replaces, const QString& /*icon*/,
                const QString& /*summary*/, const QString& /*body*/, const QStringList& /*actions*/,
                const QVariantMap& /*hints*/, int /*timeout*/) {
        arrived = Clock::now();
        if (waiting != nullptr) {
            waiting->quit();
        }
        return replaces != 0 ? replaces : ++last_;
    }

    void CloseNotification(uint /*id*/) {}

  private:
    uint last_ = 0;
};

// Runs the loop until the server has the request, or gives up after a second.
bool AwaitArrival(ArrivalServer& server) {
    if (server.arrived) {
        return true;
    }
    QEventLoop loop;
    server.waiting = &loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
    server.waiting = nullptr;
    return server.arrived.has_value();
}

// Replies on one connection arrive in order: once a later call is answered, the notifier has its
// reply to Notify too and the next ring goes out at once rather than waiting behind it.
void AwaitQuiet(QDBusConnection& bus) {
    QEventLoop loop;
    auto* watcher = new QDBusPendingCallWatcher(
        bus.asyncCall(QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.Notifications"),
            QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("GetCapabilities"))),
        &loop);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    const int rings = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    QCoreApplication application(argc, argv);

    QDBusConnection serverBus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("server"));
    QDBusConnection clientBus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
    if (!serverBus.isConnected() || !clientBus.isConnected()) {
        std::fprintf(stderr, "Kein Sitzungsbus (tools/bench-notify.sh startet einen eigenen)\n");
        return 1;
    }
    ArrivalServer server;
    if (!serverBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                  QDBusConnection::ExportAllSlots) ||
        !serverBus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "Der Name org.freedesktop.Notifications ist vergeben\n");
        return 1;
    }

    std::string reason;
    kw::ui::CallNotificationsPlatform platform;
    platform.makeNotifier = [&clientBus](kw::platform::Notifier::Handlers handlers) {
        return std::make_unique<kw::qt::DBusNotifier>(clientBus, std::move(handlers));
    };
    platform.actionCaption = [] { return std::string("&Wählen"); };
    platform.showReason = [&reason](const std::string& text) { reason = text; };
    kw::ui::CallNotifications notifications(platform);
    notifications.apply(kw::DisplayOptions{true});

    // The first ring waits for the capabilities the notifier asks for at its start: not counted.
    std::vector<double> latencies;
    for (int ring = 0; ring <= rings; ++ring) {
        server.arrived.reset();
        const auto start = Clock::now();
        notifications.rang(static_cast<std::uint64_t>(ring) + 1, "0301234567", "Erika Mustermann",
                           "67890");
        if (!AwaitArrival(server)) {
            std::fprintf(stderr, "Keine Benachrichtigung angekommen. %s\n", reason.c_str());
            return 1;
        }
        if (ring > 0) {
            latencies.push_back(Milliseconds(*server.arrived - start).count());
        }
        AwaitQuiet(clientBus);
    }

    std::printf("Benachrichtigung: vom Klingeln bis zur Anfrage beim Dienst, %d Anrufe (ms)\n",
                rings);
    std::printf("%-26s %10s %10s %10s\n", "", "Median", "p95", "Maximum");
    kw::bench::PrintSpread("Klingeln -> Notify", latencies, 3);
    return 0;
}

#include "notification_bench.moc"
