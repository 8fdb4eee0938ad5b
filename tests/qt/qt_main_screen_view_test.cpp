#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>
#include <string>

#include "tests/qt/layout_expect.h"
#include "tests/qt/main_screen_rig.h"
#include "tests/qt/twips_expect.h"
#include "ui/main_screen_layout.h"
#include "ui/qt/bell_image.h"
#include "ui/qt/phone_control_widget.h"

using kw::test::ExpectedPixels;
using kw::test::MainScreenRig;

namespace {

const QString kHint = QStringLiteral("Ein Doppelklick löscht den letzten Anruf");

QString Line(const QString& caller, const QString& called) {
    return "Anruf von " + caller + " auf Leitung: " + called;
}

}  // namespace

class QtMainScreenViewTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MainScreenRig> rig_;

    QWidget* control(const char* name) const {
        return rig_->view.findChild<QWidget*>(QLatin1String(name));
    }
    QLabel* callerLine() const { return rig_->view.findChild<QLabel*>("LBL_Anrufer"); }
    QPushButton* button(const char* name) const {
        return rig_->view.findChild<QPushButton*>(QLatin1String(name));
    }
    QAction* action(const char* name) const {
        return rig_->view.findChild<QAction*>(QLatin1String(name));
    }

    void showActive() {
        rig_->view.showAsLoaded();
        rig_->view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig_->view));
    }

    // What the presenter's collaborators saw, in a fixed order.
    QStringList effects() const {
        QStringList seen;
        for (const auto& started : rig_->launcher.started) {
            seen << "start:" + QString::fromStdString(started.text());
        }
        for (const auto& shown : rig_->messages.shown) {
            seen << "box:" + QString::fromStdString(shown.title);
        }
        for (const auto& opened : rig_->dialogs.opened) {
            seen << QString::fromStdString(opened);
        }
        for (const auto& path : rig_->help.opened) {
            seen << "hilfe:" + QString::fromStdString(path);
        }
        if (callerLine()->text().isEmpty() && !button("BTN_Db")->isEnabled()) {
            seen << "clear";
        }
        if (rig_->ended > 0) {
            seen << "end";
        }
        return seen;
    }

  private slots:
    void init() {
        rig_ = std::make_unique<MainScreenRig>();
        rig_->store.set("DoJob", "1");
        rig_->store.set("Shell", "prog {AnrufNummer}");
        QVERIFY(rig_->presenter.load());
    }
    void cleanup() { rig_.reset(); }

    void controlsFollowTheTableAndStayOnResize() {
        showActive();
        kw::test::ExpectLayout(*rig_->view.centralWidget(), kw::ui::main_screen::kControls);
        if (QTest::currentTestFailed()) {
            return;
        }
        // A manual resize moves nothing: there is no layout.
        rig_->view.resize(rig_->view.size() + QSize(200, 120));
        QCoreApplication::processEvents();
        kw::test::ExpectLayout(*rig_->view.centralWidget(), kw::ui::main_screen::kControls);
    }

    void clientAreaSitsBelowTheMenuAtTheScreenCorner() {
        showActive();
        QWidget* client = rig_->view.centralWidget();
        QCOMPARE(client->size(), ExpectedPixels(rig_->view, 0, 0, 5640, 1185).size());
        QCOMPARE(client->geometry().top(), rig_->view.menuBar()->geometry().bottom() + 1);
        QCOMPARE(rig_->view.frameGeometry().topLeft(), rig_->view.screen()->geometry().topLeft());
    }

    // The build draws the window icon ahead; what it wrote must be the bell as drawn now.
    void windowIconIsTheBellAsDrawn() {
        for (const int pixels : {16, 48}) {
            const QImage shown = rig_->view.windowIcon()
                                     .pixmap(QSize(pixels, pixels), 1.0)
                                     .toImage()
                                     .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QVERIFY2(shown == kw::qt::BellImage(pixels), qPrintable(QString::number(pixels)));
        }
    }

    void frameHasNoMaximizeButton() {
        const Qt::WindowFlags flags = rig_->view.windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!rig_->view.windowIcon().isNull());
    }

    void controlsLookAsDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("caller line")
            << "LBL_Anrufer"
            << ""
            << "Ein Doppelklick löscht den letzten Anruf" << 9.75 << true << true;
        QTest::newRow("action for a shell template") << "BTN_Db"
                                                     << "&Anwendung starten"
                                                     << "" << 8.25 << false << false;
        QTest::newRow("end") << "BTN_End"
                             << "&Beenden"
                             << "" << 8.25 << false << true;
    }
    void controlsLookAsDesigned() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, tooltip);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(bool, enabled);
        QWidget* widget = control(name.toLatin1().constData());
        QCOMPARE(widget->property("text").toString(), text);
        QCOMPARE(widget->toolTip(), tooltip);
        QCOMPARE(widget->font().pointSizeF(), points);
        QCOMPARE(widget->font().bold(), bold);
        QCOMPARE(widget->isEnabled(), enabled);
    }

    void captionCarriesTheVersion() {
        QCOMPARE(rig_->view.windowTitle(), QString("Klingelwart (Version 2.0.0)"));
    }

    void minimizedWindowIsNamedByItsCaption() {
        rig_->view.showMinimized();
        QVERIFY(rig_->view.isMinimized());
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&rig_->view);
        QVERIFY(window != nullptr);
        QCOMPARE(window->text(QAccessible::Name), QString("Klingelwart (Version 2.0.0)"));
        rig_->view.setCaption("Klingelwart & Co");
        QCOMPARE(window->text(QAccessible::Name), QString("Klingelwart & Co"));
    }

    void callerLineIsABoxedCentredPlainLabel() {
        QLabel* label = callerLine();
        QCOMPARE(label->frameShape(), QFrame::Box);
        QCOMPARE(label->frameShadow(), QFrame::Plain);
        QCOMPARE(label->lineWidth(), 1);
        QVERIFY(label->alignment().testFlag(Qt::AlignHCenter));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QVERIFY(label->buddy() == nullptr);  // so "&" is never a mnemonic
    }

    void menusFollowTheTable_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("shortcuts");
        QTest::newRow("Datei") << "mnuDatei"
                               << "&Datei"
                               << QStringList{"mnuDel",      "mnuAnrufliste",   "mnuTrenn1",
                                              "mnuOptionen", "mnuAnrufquellen", "mnuTelefonbuecher",
                                              "mnuAnzeige",  "mnuTrenn2",       "mnuBeenden"}
                               << QStringList{"&Anruferfeld löschen",
                                              "Anruf&liste ...",
                                              "",
                                              "&Optionen ...",
                                              "Anruf&quellen ...",
                                              "&Telefonbücher ...",
                                              "Anzeige und &Start ...",
                                              "",
                                              "&Beenden"}
                               << QStringList{"Ctrl+L", "Ctrl+J", "", "Ctrl+O", "",
                                              "",       "",       "", "Ctrl+F4"};
        QTest::newRow("?") << "mnuHelp"
                           << "&?" << QStringList{"mnuHilfe", "mnuTrenn3", "mnuInfo"}
                           << QStringList{"&Hilfe ...", "", "&Info ..."}
                           << QStringList{"F1", "", ""};
    }
    void menusFollowTheTable() {
        QFETCH(QString, menu);
        QFETCH(QString, title);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, shortcuts);
        auto* found = rig_->view.findChild<QMenu*>(menu);
        QVERIFY(found != nullptr);
        QCOMPARE(found->title(), title);
        QVERIFY(rig_->view.menuBar()->actions().contains(found->menuAction()));
        const QList<QAction*> actions = found->actions();
        QCOMPARE(actions.size(), entries.size());
        for (qsizetype i = 0; i < actions.size(); ++i) {
            QCOMPARE(actions[i]->objectName(), entries[i]);
            QCOMPARE(actions[i]->isSeparator(), captions[i].isEmpty());
            QCOMPARE(actions[i]->text(), captions[i]);
            QCOMPARE(actions[i]->shortcut(), QKeySequence(shortcuts[i]));
            QVERIFY(actions[i]->isEnabled());
            QVERIFY(!actions[i]->isChecked());
        }
    }

    void missedCallsShowUntilThereAreNone() {
        auto* label = rig_->view.findChild<QLabel*>("LBL_Verpasst");
        QVERIFY(label != nullptr);
        rig_->view.showMissedCalls(12);
        QCOMPARE(label->text(), QString("12 verpasst"));
        rig_->view.showMissedCalls(0);
        QCOMPARE(label->text(), QString());
    }

    void menuBarHoldsDateiThenHelp() {
        const QList<QAction*> titles = rig_->view.menuBar()->actions();
        QCOMPARE(titles.size(), 2);
        QCOMPARE(titles[0]->text(), QString("&Datei"));
        QCOMPARE(titles[1]->text(), QString("&?"));
    }

    void tabGoesFromActionToEndAndBack() {
        showActive();
        rig_->presenter.phoneRang("0301", "42");
        QVERIFY(!button("BTN_Db")->isDefault());
        QVERIFY(!button("BTN_End")->isDefault());
        button("BTN_Db")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button("BTN_End"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button("BTN_Db"));
    }

    void tabSkipsTheDisarmedAction() {
        showActive();
        button("BTN_End")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button("BTN_End"));
    }

    void callerLineShowsNumbersAsText_data() {
        QTest::addColumn<QByteArray>("caller");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ampersand") << QByteArray("&x") << Line("&x", "42");
        QTest::newRow("markup") << QByteArray("<b>x</b>") << Line("<b>x</b>", "42");
        QTest::newRow("entity") << QByteArray("&amp;") << Line("&amp;", "42");
        QTest::newRow("line break") << QByteArray("1\n2") << Line("1\u240a2", "42");
        QTest::newRow("override") << QByteArray("\u202e21") << Line("\ufffd21", "42");
        QTest::newRow("right to left") << QByteArray("שלום 1") << Line("\u2068שלום 1\u2069", "42");
        QTest::newRow("literal inside")
            << QByteArray("1 auf Leitung: 2") << Line("1 auf Leitung: 2", "42");
        QTest::newRow("not UTF-8") << QByteArray("\xff") << Line(QChar(0xfffd), "42");
    }
    void callerLineShowsNumbersAsText() {
        QFETCH(QByteArray, caller);
        QFETCH(QString, shown);
        showActive();
        const QRect before = rig_->view.geometry();
        rig_->presenter.phoneRang(std::string(caller.constData(), caller.size()), "42");
        QCOMPARE(callerLine()->text(), shown);
        QCOMPARE(callerLine()->textFormat(), Qt::PlainText);
        QCOMPARE(callerLine()->toolTip(), kHint);
        QVERIFY(button("BTN_Db")->isEnabled());
        QCoreApplication::processEvents();
        QCOMPARE(rig_->view.geometry(), before);
    }

    void longNumbersShrinkToTheLineAndRefitWhenItGrows_data() {
        QTest::addColumn<QByteArray>("caller");
        QTest::addColumn<QByteArray>("called");
        QTest::newRow("300 digits") << QByteArray(300, '7') << QByteArray("42");
        QTest::newRow("markup") << "<b>" + QByteArray(300, '7') << QByteArray("42");
        QTest::newRow("long called") << QByteArray("0301") << QByteArray(300, '4');
        QTest::newRow("100 kB") << QByteArray(100 * 1024, '7') << QByteArray("42");
    }
    void longNumbersShrinkToTheLineAndRefitWhenItGrows() {
        QFETCH(QByteArray, caller);
        QFETCH(QByteArray, called);
        showActive();
        QLabel* label = callerLine();
        rig_->presenter.phoneRang(caller.toStdString(), called.toStdString());
        const QString whole = Line(caller, called);
        const QString text = label->text();
        QVERIFY(text.startsWith("Anruf von "));
        QVERIFY(text.contains(" auf Leitung: "));
        QVERIFY(text.contains(QChar(0x2026)));
        QVERIFY(label->fontMetrics().horizontalAdvance(text) <= label->contentsRect().width());
        QVERIFY(label->toolTip().contains(whole.toHtmlEscaped()));
        QVERIFY(label->toolTip().contains(kHint));
        QCOMPARE(label->accessibleName(), whole);  // read aloud whole

        label->resize(label->fontMetrics().horizontalAdvance(whole) + 50, label->height());
        QCOMPARE(label->text(), whole);
        QCOMPARE(label->toolTip(), kHint);
        rig_->presenter.callerLineDoubleClicked();
        QCOMPARE(label->text(), QString());
    }

    void eachControlReachesItsHandler_data() {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<QStringList>("effects");
        const QString question = "box:Klingelwart beenden";
        const QString help = "hilfe:/opt/klingelwart/KLINGELWART2.chm";
        QTest::newRow("BTN_Db") << "click BTN_Db" << false << QStringList{"start:prog 0301"};
        QTest::newRow("Alt+A") << "key Alt+A" << false << QStringList{"start:prog 0301"};
        QTest::newRow("LBL_Anrufer") << "double-click" << false << QStringList{"clear"};
        QTest::newRow("mnuDel") << "menu mnuDel" << false << QStringList{"clear"};
        QTest::newRow("Ctrl+L") << "key Ctrl+L" << false << QStringList{"clear"};
        QTest::newRow("BTN_End, no") << "click BTN_End" << false << QStringList{question};
        QTest::newRow("BTN_End, yes") << "click BTN_End" << true << QStringList{question, "end"};
        QTest::newRow("Alt+B, yes") << "key Alt+B" << true << QStringList{question, "end"};
        QTest::newRow("mnuBeenden, yes")
            << "menu mnuBeenden" << true << QStringList{question, "end"};
        QTest::newRow("Ctrl+F4, no") << "key Ctrl+F4" << false << QStringList{question};
        QTest::newRow("mnuOptionen") << "menu mnuOptionen" << false << QStringList{"optionen"};
        QTest::newRow("Ctrl+O") << "key Ctrl+O" << false << QStringList{"optionen"};
        QTest::newRow("mnuHilfe") << "menu mnuHilfe" << false << QStringList{help};
        QTest::newRow("F1") << "key F1" << false << QStringList{help};
        QTest::newRow("mnuInfo") << "menu mnuInfo" << false << QStringList{"info"};
        QTest::newRow("Ctrl+J") << "key Ctrl+J" << false << QStringList{"anrufliste"};
    }
    void eachControlReachesItsHandler() {
        QFETCH(QString, trigger);
        QFETCH(bool, answerYes);
        QFETCH(QStringList, effects);
        showActive();
        rig_->presenter.phoneRang("0301", "42");
        rig_->messages.answer =
            answerYes ? kw::platform::MessageAnswer::Yes : kw::platform::MessageAnswer::No;

        const QString how = trigger.section(' ', 0, 0);
        const QString what = trigger.section(' ', 1);
        if (how == "click") {
            QTest::mouseClick(button(what.toLatin1().constData()), Qt::LeftButton);
        } else if (how == "double-click") {
            QTest::mouseDClick(callerLine(), Qt::LeftButton);
        } else if (how == "menu") {
            action(what.toLatin1().constData())->trigger();
        } else {
            const QKeySequence keys(what);
            QTest::keySequence(&rig_->view, keys);
        }
        // Access keys click with a short animation.
        QTRY_COMPARE(this->effects(), effects);
    }

    void closingTheFrameAsksNothing() {
        showActive();
        rig_->presenter.phoneRang("0301", "42");
        QVERIFY(static_cast<QWidget&>(rig_->view).close());
        QVERIFY(!rig_->view.isVisible());
        QVERIFY(rig_->messages.shown.empty());
        QCOMPARE(rig_->ended, 0);
        // The application then ends as its last window has closed.
        QVERIFY(rig_->view.testAttribute(Qt::WA_QuitOnClose));
    }

    void phoneShowsTheCallSources() {
        auto& phone = *rig_->view.findChild<kw::qt::PhoneControlWidget*>("axPhoner1");
        QVERIFY(!phone.receiving());
        QCOMPARE(phone.focusPolicy(), Qt::NoFocus);
        rig_->view.showCallSources({{false, "Wartet nicht auf Anrufe: Kein Verzeichnis"}});
        QCOMPARE(phone.toolTip(), QString("Wartet nicht auf Anrufe: Kein Verzeichnis"));
        QVERIFY(!phone.receiving());
        rig_->view.showCallSources({{false, "a &"}, {true, "b"}});
        QCOMPARE(phone.toolTip(), QString("a &\nb"));
        QVERIFY(phone.receiving());
        // A server's words that look like markup are shown as they are, never rendered.
        rig_->view.showCallSources({{false, "SIP: <img src=\"/x\"><b>403</b>"}});
        QVERIFY(phone.toolTip().contains("&lt;img src=&quot;/x&quot;&gt;&lt;b&gt;403"));
    }
};

QTEST_MAIN(QtMainScreenViewTest)
#include "qt_main_screen_view_test.moc"
