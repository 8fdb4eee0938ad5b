#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>

#include "platform/notifier.h"

class QDBusPendingCall;

namespace kw::qt {

// The desktop's notification service (org.freedesktop.Notifications) on a D-Bus connection.
// Every call is asynchronous and bounded by `replyTimeoutMs`; while one is on its way, later
// requests wait in place of each other, so the newest wins and a notification is never doubled
// for want of the id that would replace it.
class DBusNotifier final : public QObject, public platform::Notifier {
    Q_OBJECT

  public:
    DBusNotifier(QDBusConnection bus, Handlers handlers, int replyTimeoutMs = 5000);
    ~DBusNotifier() override;

    DBusNotifier(const DBusNotifier&) = delete;
    DBusNotifier& operator=(const DBusNotifier&) = delete;

    void show(std::string_view summary, std::string_view body,
              std::string_view actionCaption) override;
    void withdraw() override;

  private slots:
    void actionInvoked(uint id, const QString& key);
    void notificationClosed(uint id, uint reason);

  private:
    struct Wanted {
        QString summary;
        QString body;
        QString action;
    };

    void pump();
    void await(const QDBusPendingCall& call, bool notify);
    void report(bool available, const QString& reason);

    QDBusConnection bus_;
    Handlers handlers_;
    int timeoutMs_;
    std::optional<QStringList> capabilities_;
    std::optional<Wanted> wanted_;
    bool dirty_ = false;
    bool pending_ = false;
    uint id_ = 0;
    std::optional<platform::NotifierStatus> reported_;
};

}  // namespace kw::qt
