#include <QApplication>
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
#include "tests/qt/accessible_toggle.h"
#include "tests/qt/find_control.h"
#include "tests/qt/layout_expect.h"
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
        return FindControl<W>(rig_->view, name);
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

    // -1 for a group that shows no selection.
    int choice(kw::ui::OptionGroup group) const { return rig_->view.choice(group).value_or(-1); }

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

    void controlsFollowTheTable() {
        load();
        kw::test::ExpectLayout(rig_->view, kw::ui::optionen::kControls);
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
        QCOMPARE(choice(kw::ui::OptionGroup::Start), 3);
        // From OK on through the format group to the start group.
        find("OKButton")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focused(), QString("OPT_ShowAlways"));
    }

    void screenReaderToggleSelectsAndMovesTheTabStop() {
        rig_->store.set("Start", "2");
        load();
        QVERIFY(kw::test::ToggleAccessibly(find("OPT_ShowAlways")));
        QCOMPARE(choice(kw::ui::OptionGroup::Start), 3);
        QCOMPARE(find("OPT_ShowAlways")->focusPolicy(), Qt::StrongFocus);
        QCOMPARE(find("OPT_ShowNormal")->focusPolicy(), Qt::ClickFocus);
    }

    void startOptionFollowsTheStore_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<int>("expected");
        const QStringList others{"OPT_NurAnrufer", "OPT_Original"};
        QTest::newRow("absent") << "" << others << -1;
        QTest::newRow("1") << "1"
                           << QStringList{"OPT_NurAnrufer", "OPT_Original", "OPT_ShowMinimized"}
                           << 1;
        QTest::newRow("2") << "2" << QStringList{"OPT_NurAnrufer", "OPT_Original", "OPT_ShowNormal"}
                           << 2;
        QTest::newRow("3") << "3" << QStringList{"OPT_NurAnrufer", "OPT_Original", "OPT_ShowAlways"}
                           << 3;
        QTest::newRow("4") << "4" << others << -1;
    }
    void startOptionFollowsTheStore() {
        QFETCH(QString, start);
        QFETCH(QStringList, checked);
        QFETCH(int, expected);
        rig_->store.set("Start", start.toStdString());
        load();
        QCOMPARE(checkedOptions(), checked);
        QCOMPARE(choice(kw::ui::OptionGroup::Start), expected);
    }

    void groupsCanBeClearedAgainAfterAChoice() {
        rig_->store.set("Start", "2");
        rig_->store.set("Parameter", "1");
        rig_->store.set("Formatierung", "1");
        load();
        rig_->view.setChoice(kw::ui::OptionGroup::Start, std::nullopt);
        rig_->view.setChoice(kw::ui::OptionGroup::Parameter, std::nullopt);
        rig_->view.setChoice(kw::ui::OptionGroup::Format, std::nullopt);
        QCOMPARE(checkedOptions(), QStringList());
        QCOMPARE(choice(kw::ui::OptionGroup::Parameter), -1);
        QCOMPARE(choice(kw::ui::OptionGroup::Format), -1);
    }

    void groupsAreExclusiveAndIndependent() {
        load();
        rig_->view.showTab(kw::ui::OptionenTab::Datenbank);
        QTest::mouseClick(find("OPT_ShowNormal"), Qt::LeftButton);
        QTest::mouseClick(find("OPT_ShowAlways"), Qt::LeftButton);
        QTest::mouseClick(find("OPT_Beide"), Qt::LeftButton);
        QTest::mouseClick(find("OPT_NurZahlen"), Qt::LeftButton);
        QCOMPARE(checkedOptions(), (QStringList{"OPT_Beide", "OPT_NurZahlen", "OPT_ShowAlways"}));
        QCOMPARE(choice(kw::ui::OptionGroup::Start), 3);
        QCOMPARE(choice(kw::ui::OptionGroup::Parameter), 1);
        QCOMPARE(choice(kw::ui::OptionGroup::Format), 1);
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
