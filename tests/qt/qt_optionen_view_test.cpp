#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <limits>
#include <memory>

#include "core/app_options.h"
#include "tests/qt/twips_expect.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "ui/optionen.h"
#include "ui/qt/qt_optionen_view.h"

using kw::test::ExpectedPixels;

namespace {

// The real dialog and its real presenter, with the store, boxes and file dialogs faked.
struct OptionenRig {
    kw::test::FakeSettingsStore store;
    kw::test::FakeMessageBox messages;
    kw::test::FakeFileSearch files;
    kw::test::FakeFileDialog fileDialog;
    kw::AppOptions options;
    kw::ui::OptionenPlatform platform{store, messages, files, fileDialog};
    kw::qt::QtOptionenView view;
    kw::ui::Optionen presenter{view, options, platform};

    OptionenRig() { view.connectTo(presenter); }
};

}  // namespace

class QtOptionenViewTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<OptionenRig> rig_;

    template <class W = QWidget>
    W* find(const QString& name) const {
        W* widget = rig_->view.findChild<W*>(name);
        if (widget == nullptr) {
            qFatal("no control %s", qPrintable(name));
        }
        return widget;
    }

    void load() {
        rig_->presenter.load();
        rig_->view.show();
        rig_->view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig_->view));
    }

    // The name of the control that has the focus; the tab bar stands for its tab control.
    static QString focused() {
        QWidget* widget = QApplication::focusWidget();
        if (widget == nullptr) {
            return "(none)";
        }
        if (qobject_cast<QTabBar*>(widget) != nullptr) {
            widget = widget->parentWidget();
        }
        return widget->objectName();
    }

    QStringList checkedOptions() const {
        QStringList names;
        for (QRadioButton* option : rig_->view.findChildren<QRadioButton*>()) {
            if (option->isChecked()) {
                names << option->objectName();
            }
        }
        names.sort();
        return names;
    }

    QString state() const {
        if (rig_->view.isVisible()) {
            return "open";
        }
        return rig_->view.result() == QDialog::Accepted ? "accepted" : "rejected";
    }

  private slots:
    void init() { rig_ = std::make_unique<OptionenRig>(); }
    void cleanup() { rig_.reset(); }

    void controlsSitAtTheirTwips_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        auto row = [](const char* name, const char* container, int left, int top, int width,
                      int height) {
            QTest::newRow(name) << name << container << left << top << width << height;
        };
        row("Label1", "Optionen", 360, 240, 7695, 495);
        row("TabDialog", "Optionen", 360, 840, 7695, 3975);
        // Page controls are placed relative to the tab control, not to its page area.
        row("Label2", "TabDialog", 240, 600, 3135, 375);
        row("TXT_Db", "TabDialog", 240, 960, 6255, 375);
        row("BTN_FileSelect", "TabDialog", 6720, 960, 615, 375);
        row("Label3", "TabDialog", 240, 1560, 6975, 375);
        row("TXT_Proc", "TabDialog", 240, 1920, 7095, 375);
        row("Frame1", "TabDialog", 240, 2520, 7095, 1095);
        row("OPT_NurAnrufer", "Frame1", 120, 240, 2655, 375);
        row("OPT_Beide", "Frame1", 120, 600, 3735, 255);
        row("Label4", "TabDialog", 240, 720, 3375, 255);
        row("TXT_Shell", "TabDialog", 240, 1080, 7095, 375);
        row("BTN_Anrufer", "TabDialog", 240, 1680, 3015, 375);
        row("BTN_MSN", "TabDialog", 3960, 1680, 3375, 375);
        row("BTN_ShowShell", "TabDialog", 2280, 3000, 2655, 495);
        row("Frame2", "Optionen", 360, 5040, 4095, 1455);
        row("OPT_ShowMinimized", "Frame2", 120, 240, 3735, 375);
        row("OPT_ShowNormal", "Frame2", 120, 600, 3735, 375);
        row("OPT_ShowAlways", "Frame2", 120, 960, 3855, 375);
        row("Frame3", "Optionen", 4680, 5040, 3375, 1455);
        row("OPT_Original", "Frame3", 120, 240, 3135, 375);
        row("OPT_NurZahlen", "Frame3", 120, 720, 3135, 375);
        row("CancelButton", "Optionen", 5520, 6600, 1215, 375);
        row("OKButton", "Optionen", 6840, 6600, 1215, 375);
    }
    void controlsSitAtTheirTwips() {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(int, left);
        QFETCH(int, top);
        QFETCH(int, width);
        QFETCH(int, height);
        load();
        QWidget* widget = find(name);
        QCOMPARE(widget->parentWidget()->objectName(), container);
        QCOMPARE(widget->geometry(), ExpectedPixels(rig_->view, left, top, width, height));
    }

    void dialogIsFixedAndPlaced() {
        load();
        const QRect client = ExpectedPixels(rig_->view, 2760, 3750, 8400, 7110);
        QCOMPARE(rig_->view.geometry().topLeft(),
                 rig_->view.screen()->geometry().topLeft() + client.topLeft());
        QCOMPARE(rig_->view.size(), client.size());
        QCOMPARE(rig_->view.minimumSize(), client.size());
        QCOMPARE(rig_->view.maximumSize(), client.size());
        QVERIFY(!rig_->view.isSizeGripEnabled());
        QVERIFY(rig_->view.isModal());
        QCOMPARE(rig_->view.windowTitle(), QString("Optionen"));
        const Qt::WindowFlags flags = rig_->view.windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    }

    void tabControlHasTwoCaptionedTabs() {
        load();
        auto* tabs = find<QTabWidget>("TabDialog");
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->tabText(0), QString("&Datenbank"));
        QCOMPARE(tabs->tabText(1), QString("&Shell-Anwendung starten"));
        QCOMPARE(tabs->tabBar()->height(), ExpectedPixels(rig_->view, 520));
    }

    void captionsAreExact_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        auto row = [](const char* name, const char* caption) {
            QTest::newRow(name) << name << QString::fromUtf8(caption);
        };
        row("Label1",
            "Wählen Sie bitte aus, was Klingelwart bei einem eingehenden Anruf machen soll. Geben "
            "Sie anschliessend die entsprechenden Parameter ein.");
        row("Label2", "Name und Pfad der Datenbank:");
        row("BTN_FileSelect", "...");
        row("Label3", "Prozedur innerhalb der Datenbank, die aufgerufen werden soll:");
        row("Frame1", "Parameter-Übergabe");
        row("OPT_NurAnrufer", "Nur Anrufer-Nummer");
        row("OPT_Beide", "Anrufer-Nummer und angewählte MSN");
        row("Label4", "Shell-Befehl:");
        row("BTN_Anrufer", "Anrufer-&Nummer einfügen");
        row("BTN_MSN", "An&gerufene Nummer einfügen");
        row("BTN_ShowShell", "&Zeige Beispiel-Aufruf");
        row("Frame2", "Start-Verhalten");
        row("OPT_ShowMinimized", "Minimiert starten, beim Anruf anzeigen");
        row("OPT_ShowNormal", "Links oben anzeigen, normaler Fenstermodus");
        row("OPT_ShowAlways", "Immer im Vordergrund links oben anzeigen");
        row("Frame3", "Parameter-Format");
        row("OPT_Original", "So wie von Phoner erhalten");
        row("OPT_NurZahlen", "Reiner Zahlenstring ohne sonst. Zeichen");
        row("CancelButton", "&Abbrechen");
        row("OKButton", "&OK");
    }
    void captionsAreExact() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QWidget* widget = find(name);
        auto* frame = qobject_cast<QGroupBox*>(widget);
        QCOMPARE(frame != nullptr ? frame->title() : widget->property("text").toString(), caption);
        QCOMPARE(widget->font().pointSizeF(), 8.25);
        QVERIFY(widget->isEnabled());
    }

    void textBoxesAreSingleLineAndUnlimited() {
        for (const char* name : {"TXT_Db", "TXT_Proc", "TXT_Shell"}) {
            auto* box = find<QLineEdit>(name);
            QCOMPARE(box->maxLength(), std::numeric_limits<int>::max());
            const QString longText(100000, 'x');
            box->setText(longText);
            QCOMPARE(box->text(), longText);
        }
    }

    void onlyTheShownPageIsVisible_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("visible");
        QTest::addColumn<QStringList>("hidden");
        const QStringList database{"Label2",   "TXT_Db", "BTN_FileSelect", "Label3",
                                   "TXT_Proc", "Frame1", "OPT_NurAnrufer", "OPT_Beide"};
        const QStringList shell{"Label4", "TXT_Shell", "BTN_Anrufer", "BTN_MSN", "BTN_ShowShell"};
        QTest::newRow("Datenbank") << 0 << database << shell;
        QTest::newRow("Shell") << 1 << shell << database;
    }
    void onlyTheShownPageIsVisible() {
        QFETCH(int, tab);
        QFETCH(QStringList, visible);
        QFETCH(QStringList, hidden);
        load();
        rig_->view.showTab(static_cast<kw::ui::OptionenTab>(tab));
        for (const QString& name : visible) {
            QVERIFY2(find(name)->isVisible(), qPrintable(name));
        }
        for (const QString& name : hidden) {
            QVERIFY2(!find(name)->isVisible(), qPrintable(name));
        }
        QCOMPARE(static_cast<int>(rig_->view.currentTab()), tab);
    }

    void tabKeyFollowsTheTabColumn_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("order");
        // Tab enters an option group at its selected button, or at its first when none is.
        QTest::newRow("Datenbank, no start option")
            << 0 << ""
            << QStringList{"TabDialog",         "TXT_Db",   "TXT_Proc",     "OPT_NurAnrufer",
                           "CancelButton",      "OKButton", "OPT_Original", "BTN_FileSelect",
                           "OPT_ShowMinimized", "TabDialog"};
        QTest::newRow("Shell, normal start")
            << 1 << "2"
            << QStringList{"TabDialog",      "TXT_Shell",    "BTN_Anrufer", "BTN_MSN",
                           "BTN_ShowShell",  "CancelButton", "OKButton",    "OPT_Original",
                           "OPT_ShowNormal", "TabDialog"};
    }
    void tabKeyFollowsTheTabColumn() {
        QFETCH(int, tab);
        QFETCH(QString, start);
        QFETCH(QStringList, order);
        rig_->store.set("Start", start.toStdString());
        load();
        rig_->view.showTab(static_cast<kw::ui::OptionenTab>(tab));
        find<QTabWidget>("TabDialog")->setFocus(Qt::TabFocusReason);
        QStringList visited{focused()};
        do {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << focused();
        } while (visited.back() != "TabDialog" && visited.size() < 40);
        QCOMPARE(visited, order);
    }

    void arrowKeysMoveTheSelectionAndTheTabStop() {
        rig_->store.set("Start", "2");
        load();
        find("OPT_ShowNormal")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(focused(), QString("OPT_ShowAlways"));
        QCOMPARE(rig_->view.startChoice(), kw::ui::StartChoice::Always);
        // From OK on through the format group to the start group.
        find("OKButton")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focused(), QString("OPT_ShowAlways"));
    }

    void startOptionFollowsTheStore_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<int>("choice");
        const QStringList others{"OPT_NurAnrufer", "OPT_Original"};
        QTest::newRow("absent") << "" << others << int(kw::ui::StartChoice::None);
        QTest::newRow("1") << "1"
                           << QStringList{"OPT_NurAnrufer", "OPT_Original", "OPT_ShowMinimized"}
                           << int(kw::ui::StartChoice::Minimized);
        QTest::newRow("2") << "2" << QStringList{"OPT_NurAnrufer", "OPT_Original", "OPT_ShowNormal"}
                           << int(kw::ui::StartChoice::Normal);
        QTest::newRow("3") << "3" << QStringList{"OPT_NurAnrufer", "OPT_Original", "OPT_ShowAlways"}
                           << int(kw::ui::StartChoice::Always);
        QTest::newRow("4") << "4" << others << int(kw::ui::StartChoice::None);
    }
    void startOptionFollowsTheStore() {
        QFETCH(QString, start);
        QFETCH(QStringList, checked);
        QFETCH(int, choice);
        rig_->store.set("Start", start.toStdString());
        load();
        QCOMPARE(checkedOptions(), checked);
        QCOMPARE(int(rig_->view.startChoice()), choice);
    }

    void groupsCanBeClearedAgainAfterAChoice() {
        rig_->store.set("Start", "2");
        rig_->store.set("Parameter", "1");
        rig_->store.set("Formatierung", "1");
        load();
        rig_->view.setStartChoice(kw::ui::StartChoice::None);
        rig_->view.setParameterChoice(kw::ui::ParameterChoice::None);
        rig_->view.setFormatChoice(kw::ui::FormatChoice::None);
        QCOMPARE(checkedOptions(), QStringList());
        QCOMPARE(rig_->view.parameterChoice(), kw::ui::ParameterChoice::None);
        QCOMPARE(rig_->view.formatChoice(), kw::ui::FormatChoice::None);
    }

    void groupsAreExclusiveAndIndependent() {
        load();
        rig_->view.showTab(kw::ui::OptionenTab::Datenbank);
        QTest::mouseClick(find("OPT_ShowNormal"), Qt::LeftButton);
        QTest::mouseClick(find("OPT_ShowAlways"), Qt::LeftButton);
        QTest::mouseClick(find("OPT_Beide"), Qt::LeftButton);
        QTest::mouseClick(find("OPT_NurZahlen"), Qt::LeftButton);
        QCOMPARE(checkedOptions(), (QStringList{"OPT_Beide", "OPT_NurZahlen", "OPT_ShowAlways"}));
        QCOMPARE(rig_->view.startChoice(), kw::ui::StartChoice::Always);
        QCOMPARE(rig_->view.parameterChoice(), kw::ui::ParameterChoice::Beide);
        QCOMPARE(rig_->view.formatChoice(), kw::ui::FormatChoice::NurZahlen);
    }

    void okIsTheDefaultButton() {
        QVERIFY(find<QPushButton>("OKButton")->isDefault());
        QVERIFY(!find<QPushButton>("CancelButton")->isDefault());
    }

    void eachControlReachesItsHandler_data() {
        QTest::addColumn<QString>("shell");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QStringList>("effects");
        QTest::addColumn<QString>("focus");  // checked when not empty
        const QString tmpl = "prog {MSN}";
        const QStringList untouched{"shell:" + tmpl, "db:"};
        QTest::newRow("BTN_Anrufer")
            << tmpl << "click BTN_Anrufer"
            << QStringList{"shell:prog {MSN}{AnrufNummer}", "db:", "open"} << "TXT_Shell";
        QTest::newRow("BTN_MSN") << tmpl << "click BTN_MSN"
                                 << QStringList{"shell:prog {MSN}{MSN}", "db:", "open"}
                                 << "TXT_Shell";
        QTest::newRow("Alt+N") << tmpl << "key Alt+N"
                               << QStringList{"shell:prog {MSN}{AnrufNummer}", "db:", "open"}
                               << "TXT_Shell";
        QTest::newRow("BTN_ShowShell") << tmpl << "click BTN_ShowShell"
                                       << untouched + QStringList{"box:Test-Anzeige", "open"} << "";
        QTest::newRow("BTN_FileSelect")
            << tmpl << "click BTN_FileSelect"
            << QStringList{"shell:" + tmpl, "db:/daten/kunden.mdb", "open"} << "TXT_Db";
        QTest::newRow("OKButton") << tmpl << "click OKButton"
                                  << untouched + QStringList{"writes:7", "accepted"} << "";
        QTest::newRow("Enter in a text box")
            << tmpl << "key Return" << untouched + QStringList{"writes:7", "accepted"} << "";
        QTest::newRow("OK, check fails")
            << ""
            << "click OKButton"
            << QStringList{"shell:", "db:", "writes:1", "box:Kein Shell-Befehl eingegeben", "open"}
            << "";
        QTest::newRow("CancelButton")
            << tmpl << "click CancelButton" << untouched + QStringList{"rejected"} << "";
        QTest::newRow("Esc") << tmpl << "key Escape" << untouched + QStringList{"rejected"} << "";
        QTest::newRow("close box") << tmpl << "close" << untouched + QStringList{"rejected"} << "";
    }
    void eachControlReachesItsHandler() {
        QFETCH(QString, shell);
        QFETCH(QString, trigger);
        QFETCH(QStringList, effects);
        QFETCH(QString, focus);
        rig_->store.set("DoJob", "1");
        rig_->store.set("Shell", shell.toStdString());
        load();
        find("TXT_Shell")->setFocus();

        const QString how = trigger.section(' ', 0, 0);
        const QString what = trigger.section(' ', 1);
        if (how == "click") {
            if (what == "BTN_FileSelect") {
                rig_->view.showTab(kw::ui::OptionenTab::Datenbank);
            }
            QTest::mouseClick(find(what), Qt::LeftButton);
        } else if (how == "key") {
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(what));
        } else {
            // QWidget::close(), as the frame's close box does it.
            static_cast<QWidget&>(rig_->view).close();
        }
        auto seen = [this] {
            QStringList list{"shell:" + find<QLineEdit>("TXT_Shell")->text(),
                             "db:" + find<QLineEdit>("TXT_Db")->text()};
            if (!rig_->store.writtenKeys.empty()) {
                list << "writes:" + QString::number(rig_->store.writtenKeys.size());
            }
            for (const auto& shown : rig_->messages.shown) {
                list << "box:" + QString::fromStdString(shown.title);
            }
            list << state();
            return list;
        };
        // Access keys click with a short animation.
        QTRY_COMPARE(seen(), effects);
        if (!focus.isEmpty()) {
            QCOMPARE(focused(), focus);
        }
    }
};

QTEST_MAIN(QtOptionenViewTest)
#include "qt_optionen_view_test.moc"
