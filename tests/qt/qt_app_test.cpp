#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <memory>
#include <optional>

#include "app/klingelwart_app.h"
#include "app/no_instance_check.h"
#include "ui/qt/phone_control_widget.h"

namespace {

QWidget* MainWindow() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == "MainScreen") {
            return top;
        }
    }
    return nullptr;
}

}  // namespace

// The real program object on the offscreen platform, with its settings and socket in a
// temporary directory and a scripted router on 127.0.0.1.
class QtAppTest : public QObject {
    Q_OBJECT

  private slots:
    void callSourcesChosenInTheDialogTakeEffectAtOnce() {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        QVERIFY(QDir(home.path()).mkdir("run"));
        QFile::setPermissions(home.filePath("run"), QFileDevice::ReadOwner |
                                                        QFileDevice::WriteOwner |
                                                        QFileDevice::ExeOwner);
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        const QString conf = home.filePath("Klingelwart.conf");
        {
            QFile file(conf);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Options]\nDoJob=1\nFormatierung=0\nStart=2\nShell=true\n");
        }
        QTcpServer router;
        QVERIFY(router.listen(QHostAddress::LocalHost));
        const QString socketPath = home.filePath("run/phone.sock");

        kw::app::NoInstanceCheck instance;
        kw::app::KlingelwartApp program(instance, home.filePath("run").toStdString());
        QVERIFY(program.start());
        QWidget* window = MainWindow();
        QVERIFY(window != nullptr);
        auto* phone = window->findChild<kw::qt::PhoneControlWidget*>("axPhoner1");
        QVERIFY(phone != nullptr);
        QVERIFY2(phone->toolTip().contains(socketPath),
                 qPrintable(phone->toolTip() + " / " + socketPath));
        QVERIFY(QFile::exists(socketPath));

        bool filled = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->objectName(), QString("Anrufquellen"));
            dialog->findChild<QCheckBox*>("CHK_KlingelwartRing")->click();
            dialog->findChild<QCheckBox*>("CHK_Router")->click();
            dialog->findChild<QLineEdit*>("TXT_RouterHost")->setText("127.0.0.1");
            dialog->findChild<QLineEdit*>("TXT_RouterPort")
                ->setText(QString::number(router.serverPort()));
            dialog->findChild<QPushButton*>("OKButton")->click();
            filled = true;
        });
        window->findChild<QAction*>("mnuAnrufquellen")->trigger();
        QVERIFY(filled);

        const QString address = "127.0.0.1:" + QString::number(router.serverPort());
        QVERIFY2(phone->toolTip().startsWith("Anrufmonitor " + address),
                 qPrintable(phone->toolTip()));
        QVERIFY(!phone->toolTip().contains(socketPath));
        QVERIFY(!QFile::exists(socketPath));
        QSettings stored(conf, QSettings::IniFormat);
        QCOMPARE(stored.value("Anrufquellen/KlingelwartRing").toString(), QString("0"));
        QCOMPARE(stored.value("Anrufquellen/Router").toString(), QString("1"));
        QCOMPARE(stored.value("Anrufquellen/RouterHost").toString(), QString("127.0.0.1"));
        QCOMPARE(stored.value("Anrufquellen/RouterPort").toInt(), int(router.serverPort()));

        QVERIFY(router.waitForNewConnection(5000));
        QTcpSocket* line = router.nextPendingConnection();
        QTRY_VERIFY_WITH_TIMEOUT(phone->toolTip().endsWith("verbunden"), 5000);
        line->write("07.12.26 14:05:01;RING;0;0301234567;4711;SIP0;\r\n");
        auto* caller = window->findChild<QLabel*>("LBL_Anrufer");
        QTRY_VERIFY_WITH_TIMEOUT(caller->text().contains("0301234567"), 5000);
        QVERIFY(caller->text().contains("4711"));
    }

    // A book read at start reports its failure on the phone; a list changed in the dialog is
    // read again at once.
    void phoneBooksLoadAtStartAndAfterTheDialog() {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        {
            QFile file(home.filePath("Klingelwart.conf"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Telefonbuch]\nDatei1=" + home.filePath("fehlt.vcf").toUtf8() + "\n");
        }
        kw::app::NoInstanceCheck instance;
        kw::app::KlingelwartApp program(instance, std::string("/nirgends"));
        QVERIFY(program.start());
        QWidget* window = MainWindow();
        QVERIFY(window != nullptr);
        auto* phone = window->findChild<kw::qt::PhoneControlWidget*>("axPhoner1");
        const QString problem = "Telefonbuch fehlt.vcf: Die Datei wurde nicht gefunden.";
        QTRY_VERIFY_WITH_TIMEOUT(phone->toolTip().endsWith(problem), 5000);

        QString status;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            status = dialog->findChild<QLabel*>("LBL_Status")->text();
            dialog->findChild<QPushButton*>("BTN_Entfernen")->click();
            dialog->findChild<QPushButton*>("OKButton")->click();
        });
        window->findChild<QAction*>("mnuTelefonbuecher")->trigger();
        QCOMPARE(status, QString("fehlt.vcf: Die Datei wurde nicht gefunden."));
        QTRY_VERIFY_WITH_TIMEOUT(!phone->toolTip().contains("Telefonbuch"), 5000);
    }

    // Qt's German texts are read for the first menu or box, not at the start: the menus show
    // their shortcuts in Qt's words, the exit question has Qt's buttons.
    void qtTextsTurnGermanWithTheFirstMenu() {
        const std::unique_ptr<kw::app::KlingelwartApp> program = StartedInEmptyHome();
        QVERIFY(program != nullptr);
        QCOMPARE(QCoreApplication::translate("QShortcut", "Ctrl"), QString("Ctrl"));
        auto* menu = MainWindow()->findChild<QMenu*>("mnuDatei");
        menu->popup(MainWindow()->pos());
        QCOMPARE(QCoreApplication::translate("QShortcut", "Ctrl"), QString("Strg"));
        menu->hide();
    }
    void qtTextsTurnGermanWithTheFirstBox() {
        const std::unique_ptr<kw::app::KlingelwartApp> program = StartedInEmptyHome();
        QVERIFY(program != nullptr);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString("&Yes"));
        QString yes;
        QTimer::singleShot(0, [&yes] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            yes = box->button(QMessageBox::Yes)->text();
            box->button(QMessageBox::No)->click();
        });
        MainWindow()->findChild<QAction*>("mnuBeenden")->trigger();
        QCOMPARE(yes, QString("&Ja"));
    }

  private:
    // The program in a home of its own, which lasts as long as the test.
    std::unique_ptr<kw::app::KlingelwartApp> StartedInEmptyHome() {
        if (!home_.isValid()) {
            return nullptr;
        }
        qputenv("XDG_CONFIG_HOME", home_.path().toUtf8());
        qputenv("XDG_DATA_HOME", home_.path().toUtf8());
        auto program =
            std::make_unique<kw::app::KlingelwartApp>(instance_, std::string("/nirgends"));
        return program->start() ? std::move(program) : nullptr;
    }

    QTemporaryDir home_;
    kw::app::NoInstanceCheck instance_;
};

QTEST_MAIN(QtAppTest)
#include "qt_app_test.moc"
