// The notifier against a real notification server (dunst on a private bus, started by
// dbus_notifier_test.sh), against a bus without one, and against one that never answers.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <optional>

#include "platform/qt/dbus_notifier.h"

namespace kw::qt {
namespace {

struct Events {
    int actions = 0;
    int activations = 0;
    std::optional<platform::NotifierStatus> status;
};

std::unique_ptr<DBusNotifier> MakeNotifier(Events& events, int timeoutMs = 5000) {
    return std::make_unique<DBusNotifier>(
        QDBusConnection::sessionBus(),
        platform::Notifier::Handlers{[&] { ++events.actions; }, [&] { ++events.activations; },
                                     [&](const platform::NotifierStatus& s) { events.status = s; }},
        timeoutMs);
}

QString Dunstctl(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral("dunstctl"), arguments);
    p.waitForFinished(5000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

bool DisplayedBecomes(const QString& count) {
    for (int i = 0; i < 100; ++i) {
        if (Dunstctl({QStringLiteral("count"), QStringLiteral("displayed")}) == count) {
            return true;
        }
        QTest::qWait(50);
    }
    return false;
}

// What dunst's rule script logged: one "summary|body" line per notification it showed.
QStringList Shown() {
    QFile log(qEnvironmentVariable("KW_DUNST_LOG"));
    if (!log.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace

class DBusNotifierTest : public QObject {
    Q_OBJECT

  private slots:
    void newerCallReplacesTheOlderAndWithdrawTakesItAway() {
        Events events;
        auto notifier = MakeNotifier(events);
        // The second before the first one's id is back: still one notification, the newer.
        notifier->show("Anruf von 030 1", "auf Leitung: 1", "&Wählen");
        notifier->show("Anruf von Erika <b>M</b> & Co (2)", "auf Leitung: <i>2</i> & 3", "&Wählen");
        QVERIFY(DisplayedBecomes(QStringLiteral("1")));
        QTRY_VERIFY(Shown().size() >= 1);
        // dunst renders the body's markup, so the body comes escaped; a summary is plain text
        // to every server.
        QCOMPARE(Shown().last(), QStringLiteral("Anruf von Erika <b>M</b> & Co (2)|"
                                                "auf Leitung: &lt;i&gt;2&lt;/i&gt; &amp; 3"));
        QVERIFY(events.status && events.status->available);
        notifier->withdraw();
        QVERIFY(DisplayedBecomes(QStringLiteral("0")));
    }

    void theActionButtonAndAClickReachTheProgram() {
        Events events;
        auto notifier = MakeNotifier(events);
        notifier->show("Anruf von 030 1", "auf Leitung: 1", "&Wählen");
        QVERIFY(DisplayedBecomes(QStringLiteral("1")));
        // dunst's menu program (set in the script) picks the entry named like the button.
        Dunstctl({QStringLiteral("context")});
        QTRY_COMPARE(events.actions, 1);
        QCOMPARE(events.activations, 0);

        notifier->show("Anruf von 030 2", "auf Leitung: 1", "&Wählen");
        QVERIFY(DisplayedBecomes(QStringLiteral("1")));
        Dunstctl({QStringLiteral("action"), QStringLiteral("0")});
        QTRY_COMPARE(events.activations, 1);
        notifier->withdraw();
        QVERIFY(DisplayedBecomes(QStringLiteral("0")));
    }

    void aProgramThatEndsTakesItsNotificationAlong() {
        Events events;
        auto notifier = MakeNotifier(events);
        notifier->show("Anruf von 030 3", "auf Leitung: 1", "");
        QVERIFY(DisplayedBecomes(QStringLiteral("1")));
        notifier.reset();
        QVERIFY(DisplayedBecomes(QStringLiteral("0")));
    }

    // Run by the script on buses without a server, or with one that never answers.
    void withoutAnAnsweringServerNothingWaitsAndTheReasonIsGiven() {
        const QString expected = qEnvironmentVariable("KW_EXPECTED_REASON");
        if (expected.isEmpty()) {
            QSKIP("nur mit KW_EXPECTED_REASON");
        }
        Events events;
        auto notifier = MakeNotifier(events, 500);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 50; ++i) {
            notifier->show("Anruf von 1", "auf Leitung: 1", "&Wählen");
        }
        notifier->withdraw();
        QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(events.status.has_value(), 5000);
        QVERIFY(!events.status->available);
        QCOMPARE(QString::fromStdString(events.status->text),
                 QStringLiteral("Keine Benachrichtigungen: ") + expected);
    }
};

}  // namespace kw::qt

QTEST_GUILESS_MAIN(kw::qt::DBusNotifierTest)
#include "dbus_notifier_test.moc"
