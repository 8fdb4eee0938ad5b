#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "core/ring_message.h"
#include "platform/posix/instance_lock.h"
#include "platform/posix/runtime_directory.h"
#include "platform/posix/unique_fd.h"
#include "platform/qt/ring_socket_source.h"
#include "tests/qt/main_screen_rig.h"
#include "ui/qt/phone_control_widget.h"

using kw::test::MainScreenRig;

namespace {

// Counts what a ring must never do to the main window.
class IntrusionCounter : public QObject {
  public:
    int count = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::WindowActivate:
            case QEvent::WindowStateChange:
            case QEvent::ZOrderChange:
            case QEvent::FocusIn:
            case QEvent::Show:
                ++count;
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Sends one ring message the way klingelwart-ring does.
bool SendRing(const std::string& path, const std::string& caller, const std::string& called) {
    kw::posix::UniqueFd fd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    // A listener that stopped taking calls fails the test instead of hanging it.
    const timeval timeout{5, 0};
    ::setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (!fd || ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address)) {
        return false;
    }
    const std::string message = kw::EncodeRing(caller, called);
    return ::send(fd.get(), message.data(), message.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(message.size());
}

}  // namespace

class PhoneControlTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> runtime_;
    std::unique_ptr<MainScreenRig> rig_;
    std::string socketPath_;

    QLabel* callerLine() const { return rig_->view.findChild<QLabel*>("LBL_Anrufer"); }
    kw::qt::PhoneControlWidget& phone() const { return rig_->view.phoneControl(); }

    // Runs the real klingelwart-ring against the private directory of this test.
    int ring(const QByteArray& caller, const QByteArray& called) {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtime_->path());
        tool.setProcessEnvironment(environment);
        tool.start(KW_RING_TOOL, {QString::fromUtf8(caller), QString::fromUtf8(called)});
        // The program needs the event loop to take the call, so wait with it running.
        if (!QTest::qWaitFor([&tool] { return tool.state() == QProcess::NotRunning; }, 10000)) {
            return -1;
        }
        return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    }

  private slots:
    void init() {
        runtime_ = std::make_unique<QTemporaryDir>();
        QVERIFY(runtime_->isValid());
        auto directory = kw::posix::PrivateRuntimeDirectoryIn(runtime_->path().toStdString(), "");
        QVERIFY(directory.ok());
        socketPath_ = directory.value() + "/phone.sock";
        rig_ = std::make_unique<MainScreenRig>();
        rig_->sources.add(std::make_unique<kw::qt::RingSocketSource>(std::move(directory)));
        QVERIFY(rig_->presenter.load());
        rig_->sources.start();
    }
    void cleanup() {
        rig_.reset();
        runtime_.reset();
    }

    void tooltipSaysWhereItListens() {
        QVERIFY(phone().receiving());
        QCOMPARE(phone().toolTip(),
                 "Wartet auf Anrufe über " + QString::fromStdString(socketPath_));
    }

    void tooltipSaysWhyItCannotListen() {
        MainScreenRig rig;
        rig.sources.add(std::make_unique<kw::qt::RingSocketSource>(
            kw::Failure{75, "Die Sperrdatei /x lässt sich nicht anlegen."}));
        rig.sources.add(
            std::make_unique<kw::qt::RingSocketSource>(runtime_->path().toStdString() + "/fehlt"));
        rig.sources.start();
        const QStringList lines = rig.view.phoneControl().toolTip().split('\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], "Wartet nicht auf Anrufe: Die Sperrdatei /x lässt sich nicht anlegen.");
        QVERIFY(lines[1].startsWith("Wartet nicht auf Anrufe: "));
        QVERIFY(!rig.view.phoneControl().receiving());
    }

    void aLostSocketIsMadeAgain_data() {
        QTest::addColumn<bool>("wholeDirectory");
        QTest::addColumn<bool>("takenMeanwhile");  // by another instance, which ends later
        QTest::newRow("socket file") << false << false;
        QTest::newRow("runtime directory") << true << false;
        QTest::newRow("directory taken by another instance") << true << true;
    }
    void aLostSocketIsMadeAgain() {
        QFETCH(bool, wholeDirectory);
        QFETCH(bool, takenMeanwhile);
        const QString runtime = runtime_->path() + "/run";
        QVERIFY(QDir().mkdir(runtime));
        auto directory = kw::posix::PrivateRuntimeDirectoryIn(runtime.toStdString(), "");
        QVERIFY(directory.ok());
        const std::string privateDir = directory.value();
        const std::string socket = privateDir + "/phone.sock";
        kw::posix::InstanceLock lock(privateDir);
        QVERIFY(lock.claimed());
        MainScreenRig rig;
        rig.sources.add(std::make_unique<kw::qt::RingSocketSource>(
            std::move(directory), [&lock] { return lock.reclaim(); },
            std::chrono::milliseconds(50)));
        rig.sources.start();
        const auto tooltip = [&rig] { return rig.view.phoneControl().toolTip(); };
        const QString waiting = "Wartet auf Anrufe über " + QString::fromStdString(socket);
        QCOMPARE(tooltip(), waiting);

        if (!wholeDirectory) {
            QVERIFY(QFile::remove(QString::fromStdString(socket)));
        } else {
            QVERIFY(QDir(runtime).removeRecursively());
            QTRY_VERIFY(tooltip().startsWith("Wartet nicht auf Anrufe: Die Verbindung " +
                                             QString::fromStdString(socket)));
            QVERIFY(!rig.view.phoneControl().receiving());
            QVERIFY(QDir().mkdir(runtime));
            if (takenMeanwhile) {
                QVERIFY(kw::posix::EnsurePrivateDirectory(privateDir).ok());
                auto other = std::make_unique<kw::posix::InstanceLock>(privateDir);
                QVERIFY(other->claimed());
                QTRY_VERIFY(tooltip().contains("Ein anderes Klingelwart"));
                QVERIFY(!QFile::exists(QString::fromStdString(socket)));
                other.reset();
            }
        }
        QTRY_COMPARE(tooltip(), waiting);
        QVERIFY(rig.view.phoneControl().receiving());
        QTRY_VERIFY(QFile::exists(QString::fromStdString(socket)));
        QVERIFY(SendRing(socket, "0301", "42"));
        QTRY_COMPARE(rig.rings, 1);
    }

    void ringShowsTheNumbersAsSent_data() {
        QTest::addColumn<QByteArray>("caller");
        QTest::addColumn<QByteArray>("called");
        QTest::addColumn<QString>("shown");  // in the caller line or, shortened, in its tip
        QTest::newRow("plain") << QByteArray("(012) 456789") << QByteArray("67890")
                               << "(012) 456789 auf Leitung: 67890";
        QTest::newRow("markup and ampersand")
            << QByteArray("<b>x</b> & y") << QByteArray("&1") << "<b>x</b> & y auf Leitung: &1";
        QTest::newRow("shell syntax") << QByteArray("$(touch x) `id`; 'a' \"b\"") << QByteArray("*")
                                      << "$(touch x) `id`; 'a' \"b\" auf Leitung: *";
        QTest::newRow("line breaks and blanks") << QByteArray(" 1\n2\r\n ") << QByteArray("\t")
                                                << " 1\u240a2\u240d\u240a  auf Leitung: \u2409";
        QTest::newRow("empty") << QByteArray() << QByteArray() << " auf Leitung: ";
        QTest::newRow("60 kB") << QByteArray(60000, '9') << QByteArray("1")
                               << QString(60000, '9') + " auf Leitung: 1";
    }
    void ringShowsTheNumbersAsSent() {
        QFETCH(QByteArray, caller);
        QFETCH(QByteArray, called);
        QFETCH(QString, shown);
        rig_->view.showAsLoaded();
        QVERIFY(QTest::qWaitForWindowExposed(&rig_->view));
        QCOMPARE(ring(caller, called), 0);
        const QString expected = "Anruf von " + shown;
        QTRY_VERIFY(callerLine()->text() == expected || callerLine()->toolTip().contains(expected));
        QVERIFY(rig_->view.findChild<QPushButton*>("BTN_Db")->isEnabled());
        QCOMPARE(QString::fromStdString(rig_->call.AnrufNummer), QString::fromUtf8(caller));
        QCOMPARE(QString::fromStdString(rig_->call.MSN), QString::fromUtf8(called));
    }

    void ringLeavesTheWindowWhereItIs_data() {
        QTest::addColumn<bool>("minimized");
        QTest::newRow("behind another window") << false;
        QTest::newRow("minimized") << true;
    }
    void ringLeavesTheWindowWhereItIs() {
        QFETCH(bool, minimized);
        if (minimized) {
            rig_->view.setWindowState(Qt::WindowMinimized);
        }
        rig_->view.showAsLoaded();
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));

        IntrusionCounter intrusions;
        rig_->view.installEventFilter(&intrusions);
        QCOMPARE(ring("0301", "42"), 0);
        QTRY_COMPARE(callerLine()->text(), QString("Anruf von 0301 auf Leitung: 42"));
        QCoreApplication::processEvents();

        QCOMPARE(intrusions.count, 0);
        QCOMPARE(QApplication::activeWindow(), &other);
        QCOMPARE(rig_->view.windowState().testFlag(Qt::WindowMinimized), minimized);
        rig_->view.removeEventFilter(&intrusions);
    }

    void floodLeavesTheLastCallShown() {
        constexpr int kRings = 2000;
        std::atomic<int> sent{0};
        // A sender of its own: a full backlog blocks its connect until the UI thread accepts.
        std::thread sender([this, &sent] {
            for (int i = 1; i <= kRings; ++i) {
                if (SendRing(socketPath_, "flut-" + std::to_string(i), "42")) {
                    ++sent;
                }
            }
        });
        QTRY_COMPARE_WITH_TIMEOUT(rig_->rings, kRings, 60000);
        sender.join();
        QCOMPARE(sent.load(), kRings);
        QCOMPARE(callerLine()->text(), QString("Anruf von flut-2000 auf Leitung: 42"));
    }
};

QTEST_MAIN(PhoneControlTest)
#include "phone_control_test.moc"
