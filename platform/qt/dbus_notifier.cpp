#include "platform/qt/dbus_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include <utility>

#include "platform/qt/qt_text.h"

namespace kw::qt {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
const QString kCallAction = QStringLiteral("anruf");

QDBusMessage Call(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

// A button caption without its access-key marker; "&&" is a literal "&".
QString WithoutAccessKey(QString caption) {
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return caption;
}

QString Reason(const QDBusError& error) {
    switch (error.type()) {
        case QDBusError::ServiceUnknown:
        case QDBusError::NoServer:
        case QDBusError::Disconnected:
            return QStringLiteral("Der Desktop bietet keinen Benachrichtigungsdienst.");
        case QDBusError::NoReply:
        case QDBusError::Timeout:
        case QDBusError::TimedOut:
            return QStringLiteral("Der Benachrichtigungsdienst antwortet nicht.");
        default:
            return QStringLiteral("Der Benachrichtigungsdienst meldet einen Fehler (%1).")
                .arg(error.name());
    }
}

}  // namespace

DBusNotifier::DBusNotifier(QDBusConnection bus, Handlers handlers, int replyTimeoutMs)
    : bus_(std::move(bus)), handlers_(std::move(handlers)), timeoutMs_(replyTimeoutMs) {
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                 SLOT(actionInvoked(uint, QString)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(notificationClosed(uint, uint)));
    pending_ = true;
    const QDBusPendingCall call =
        bus_.asyncCall(Call(QStringLiteral("GetCapabilities")), timeoutMs_);
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QStringList> reply = *w;
        // Without an answer the service may still take notifications; Notify says for sure.
        capabilities_ = reply.isError() ? QStringList{} : reply.value();
        report(!reply.isError(), reply.isError() ? Reason(reply.error()) : QString());
        pending_ = false;
        pump();
    });
}

DBusNotifier::~DBusNotifier() {
    // A notification whose buttons nobody answers any more must not stay behind.
    if (id_ != 0) {
        QDBusMessage close = Call(QStringLiteral("CloseNotification"));
        close << id_;
        bus_.send(close);
    }
}

void DBusNotifier::show(std::string_view summary, std::string_view body,
                        std::string_view actionCaption) {
    wanted_ =
        Wanted{ToQString(summary), ToQString(body), WithoutAccessKey(ToQString(actionCaption))};
    dirty_ = true;
    pump();
}

void DBusNotifier::withdraw() {
    wanted_.reset();
    dirty_ = true;
    pump();
}

void DBusNotifier::pump() {
    if (pending_ || !dirty_ || !capabilities_) {
        return;
    }
    dirty_ = false;
    if (!wanted_) {
        if (id_ == 0) {
            return;
        }
        QDBusMessage close = Call(QStringLiteral("CloseNotification"));
        close << std::exchange(id_, 0u);
        await(bus_.asyncCall(close, timeoutMs_), false);
        return;
    }
    QString body = wanted_->body;
    if (capabilities_->contains(QStringLiteral("body-markup"))) {
        body = body.toHtmlEscaped();
    }
    QStringList actions;
    if (capabilities_->contains(QStringLiteral("actions"))) {
        actions << kDefaultAction << QStringLiteral("Anzeigen");
        if (!wanted_->action.isEmpty()) {
            actions << kCallAction << wanted_->action;
        }
    }
    const QVariantMap hints{
        {QStringLiteral("desktop-entry"), QStringLiteral("de.klingelwart.Klingelwart")}};
    QDBusMessage notify = Call(QStringLiteral("Notify"));
    notify << QStringLiteral("Klingelwart") << id_ << QStringLiteral("klingelwart")
           << wanted_->summary << body << actions << hints << qint32(-1);
    await(bus_.asyncCall(notify, timeoutMs_), true);
}

void DBusNotifier::await(const QDBusPendingCall& call, bool notify) {
    pending_ = true;
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, notify](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                pending_ = false;
                if (w->isError()) {
                    id_ = 0;
                    report(false, Reason(w->error()));
                } else {
                    if (notify) {
                        id_ = QDBusPendingReply<uint>(*w).value();
                    }
                    report(true, {});
                }
                pump();
            });
}

void DBusNotifier::report(bool available, const QString& reason) {
    platform::NotifierStatus status{
        available, available ? std::string() : "Keine Benachrichtigungen: " + ToUtf8(reason)};
    if (reported_ == status) {
        return;
    }
    reported_ = status;
    if (handlers_.onStatus) {
        handlers_.onStatus(status);
    }
}

void DBusNotifier::actionInvoked(uint id, const QString& key) {
    if (id == 0 || id != id_) {
        return;
    }
    if (key == kCallAction && handlers_.onAction) {
        handlers_.onAction();
    } else if (key == kDefaultAction && handlers_.onActivated) {
        handlers_.onActivated();
    }
}

void DBusNotifier::notificationClosed(uint id, uint /*reason*/) {
    if (id != 0 && id == id_) {
        id_ = 0;
    }
}

}  // namespace kw::qt
