#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>
#include <string>

#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_window_manager.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "ui/qt/qt_dialog_opener.h"

using kw::platform::MessageAnswer;
using kw::platform::MessageButtons;
using kw::platform::MessageIcon;

Q_DECLARE_METATYPE(MessageIcon)
Q_DECLARE_METATYPE(MessageButtons)
Q_DECLARE_METATYPE(MessageAnswer)

namespace {

// What a finished box looked like when it was run.
struct SeenBox {
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

}  // namespace

class QtDesktopTest : public QObject {
    Q_OBJECT

  private slots:
    void messageBoxIsBuiltAsAsked_data() {
        QTest::addColumn<MessageIcon>("icon");
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<int>("qtIcon");
        QTest::addColumn<int>("qtButtons");
        QTest::addColumn<int>("qtDefault");
        QTest::newRow("information, OK")
            << MessageIcon::Information << MessageButtons::Ok << int(QMessageBox::Information)
            << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("critical, OK")
            << MessageIcon::Critical << MessageButtons::Ok << int(QMessageBox::Critical)
            << int(QMessageBox::Ok) << int(QMessageBox::Ok);
        QTest::newRow("question, yes/no")
            << MessageIcon::Question << MessageButtons::YesNo << int(QMessageBox::Question)
            << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::Yes);
        QTest::newRow("no icon") << MessageIcon::None << MessageButtons::Ok
                                 << int(QMessageBox::NoIcon) << int(QMessageBox::Ok)
                                 << int(QMessageBox::Ok);
    }
    void messageBoxIsBuiltAsAsked() {
        QFETCH(MessageIcon, icon);
        QFETCH(MessageButtons, buttons);
        QFETCH(int, qtIcon);
        QFETCH(int, qtButtons);
        QFETCH(int, qtDefault);
        SeenBox seen;
        kw::qt::QtMessageBox box([&seen](QMessageBox& shown) {
            seen = {shown.windowTitle(),     shown.text(),
                    shown.textFormat(),      shown.icon(),
                    shown.standardButtons(), shown.standardButton(shown.defaultButton())};
        });
        box.show("Fehler-Nummer 53\r\n\r\n<b>x</b> & y", "Titel", icon, buttons);
        QCOMPARE(seen.title, QString("Titel"));
        QCOMPARE(seen.text, QString("Fehler-Nummer 53\n\n<b>x</b> & y"));
        QCOMPARE(seen.format, Qt::PlainText);
        QCOMPARE(int(seen.icon), qtIcon);
        QCOMPARE(int(seen.buttons), qtButtons);
        QCOMPARE(int(seen.defaultButton), qtDefault);
    }

    void messageBoxAnswers_data() {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<QString>("user");
        QTest::addColumn<MessageAnswer>("answer");
        QTest::newRow("Yes") << MessageButtons::YesNo << "Yes" << MessageAnswer::Yes;
        QTest::newRow("No") << MessageButtons::YesNo << "No" << MessageAnswer::No;
        QTest::newRow("Enter takes Yes") << MessageButtons::YesNo << "Return" << MessageAnswer::Yes;
        QTest::newRow("Esc is No") << MessageButtons::YesNo << "Escape" << MessageAnswer::No;
        QTest::newRow("closed without choice")
            << MessageButtons::YesNo << "close" << MessageAnswer::No;
        QTest::newRow("OK box, Esc") << MessageButtons::Ok << "Escape" << MessageAnswer::Ok;
    }
    void messageBoxAnswers() {
        QFETCH(MessageButtons, buttons);
        QFETCH(QString, user);
        QFETCH(MessageAnswer, answer);
        // The production box, run modally; the "user" acts once it is up.
        kw::qt::QtMessageBox box;
        QTimer::singleShot(0, [&user] {
            auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(shown != nullptr);
            if (user == "Yes" || user == "No") {
                shown->button(user == "Yes" ? QMessageBox::Yes : QMessageBox::No)->click();
            } else if (user == "close") {
                shown->done(0);
            } else {
                QTest::keySequence(shown, QKeySequence(user));
            }
        });
        QCOMPARE(box.show("Frage", "Titel", MessageIcon::Question, buttons), answer);
    }

    void fileDialogIsSetUpForDatabases() {
        QString title;
        QStringList filters;
        QString typed;
        bool native = true;
        kw::qt::QtFileDialog dialog([&](QFileDialog& shown) {
            title = shown.windowTitle();
            filters = shown.nameFilters();
            native = !shown.testOption(QFileDialog::DontUseNativeDialog);
            typed = shown.findChild<QLineEdit*>("fileNameEdit")->text();
            shown.reject();
        });
        auto chosen = dialog.openFile("Access Datenbank auswählen", "*.mdb", "*.mdb");
        QVERIFY(chosen.ok());
        QCOMPARE(QString::fromStdString(chosen.value()), QString("*.mdb"));
        QCOMPARE(title, QString("Access Datenbank auswählen"));
        QCOMPARE(filters, QStringList{"*.mdb"});
        QCOMPARE(typed, QString("*.mdb"));
        QVERIFY(!native);
    }

    void fileDialogReturnsTheChosenFile() {
        QTemporaryDir directory;
        const QString path = directory.filePath("Kunden & Co.mdb");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        kw::qt::QtFileDialog dialog([&path](QFileDialog& shown) {
            shown.selectFile(path);
            static_cast<QDialog&>(shown).accept();  // as the Open button does
        });
        auto chosen = dialog.openFile("Titel", "*.mdb", "*.mdb");
        QVERIFY(chosen.ok());
        QCOMPARE(QString::fromStdString(chosen.value()), path);
    }

    void keepOnTopKeepsPlaceSizeAndVisibility_data() {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("onTop");
        QTest::newRow("shown, on top") << true << true;
        QTest::newRow("shown, off top") << true << false;
        QTest::newRow("not yet shown, on top") << false << true;
    }
    void keepOnTopKeepsPlaceSizeAndVisibility() {
        QFETCH(bool, shown);
        QFETCH(bool, onTop);
        QWidget window;
        window.setWindowFlag(Qt::WindowStaysOnTopHint, !onTop);
        window.setGeometry(40, 50, 300, 90);
        if (shown) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
        const QRect before = window.geometry();
        kw::qt::QtWindowManager manager(window);
        manager.setKeepOnTop(onTop);
        QCOMPARE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        QCOMPARE(window.isVisible(), shown);
        QCOMPARE(window.geometry(), before);
    }

    void minimizeAndRestoreLeaveTopmostAlone() {
        QWidget window;
        kw::qt::QtWindowManager manager(window);
        manager.setKeepOnTop(true);
        manager.minimize();
        QVERIFY(window.windowState().testFlag(Qt::WindowMinimized));
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!window.isVisible());  // before the first show only the state is set
        manager.restore();
        QVERIFY(!window.windowState().testFlag(Qt::WindowMinimized));
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void keepOnTopOfAMinimizedWindowKeepsItMinimized() {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        kw::qt::QtWindowManager manager(window);
        manager.minimize();
        manager.setKeepOnTop(true);
        QVERIFY(window.windowState().testFlag(Qt::WindowMinimized));
        QVERIFY(window.isVisible());
    }

    void openerGivesAFreshDialogEachTime() {
        kw::test::FakeSettingsStore store;
        kw::test::FakeMessageBox messages;
        kw::test::FakeFileSearch files;
        kw::test::FakeFileDialog fileDialog;
        kw::test::FakeProgramInfo program;
        kw::AppOptions options;
        kw::ui::OptionenPlatform platform{store, messages, files, fileDialog};
        kw::ui::AnrufquellenPlatform sources{store, messages};
        kw::test::FakeAutostart autostart;
        kw::ui::AnzeigePlatform anzeige{store, messages, autostart, {}};
        kw::qt::QtDialogOpener opener(options, platform, sources, anzeige, program);
        store.set("Shell", "erst");

        // Each opening shows what the store holds then; typing that is cancelled is gone.
        QStringList shownTexts;
        auto typeAndCancel = [&shownTexts] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->objectName(), QString("Optionen"));
            auto* shell = dialog->findChild<QLineEdit*>("TXT_Shell");
            shownTexts << shell->text();
            shell->setText("getippt");
            dialog->findChild<QPushButton*>("CancelButton")->click();
        };
        QTimer::singleShot(0, typeAndCancel);
        opener.openOptionen();
        store.set("Shell", "zweit");
        QTimer::singleShot(0, typeAndCancel);
        opener.openOptionen();
        QCOMPARE(shownTexts, (QStringList{"erst", "zweit"}));
        QVERIFY(store.writtenKeys.empty());
        QCOMPARE(QString::fromStdString(options.Shell), QString("zweit"));

        QString infoTitle;
        QTimer::singleShot(0, [&infoTitle] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            infoTitle = dialog->windowTitle();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        opener.openInfo();
        QCOMPARE(infoTitle, QString("Info zu Klingelwart"));
        // Nothing stays behind: every dialog was destroyed when it closed.
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }
};

QTEST_MAIN(QtDesktopTest)
#include "qt_desktop_test.moc"
