#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

#include "platform/qt/qt_clipboard.h"
#include "tests/qt/layout_expect.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "tests/support/memory_call_list_file.h"
#include "ui/anrufliste.h"
#include "ui/anrufliste_layout.h"
#include "ui/qt/qt_anrufliste_view.h"

namespace layout = kw::ui::anrufliste;

namespace {

constexpr const char* kForged = "<b>Chef</b><img src=x>&amp;";

struct AnruflisteRig {
    kw::test::MemoryCallListFile file;
    kw::CallLog log{file};
    kw::test::FakeSettingsStore store;
    kw::test::FakeMessageBox messages;
    kw::test::FakeFileDialog files;
    kw::qt::QtClipboard clipboard;
    QStringList ran;
    kw::ui::AnruflistePlatform platform{log,
                                        store,
                                        messages,
                                        files,
                                        clipboard,
                                        [this](std::string_view caller, std::string_view) { ran << kw::qt::ToQString(caller); }};
    kw::qt::QtAnruflisteView view;
    kw::ui::Anrufliste presenter{view, platform};

    AnruflisteRig() {
        log.add(
            {.key = 1, .time = 1765000000, .caller = "030 1", .outcome = kw::CallOutcome::Missed});
        log.add({.key = 2,
                 .time = 1765000100,
                 .caller = kForged,
                 .name = kForged,
                 .outcome = kw::CallOutcome::Answered});
        view.connectTo(presenter);
        presenter.load();
        view.show();
        view.activateWindow();
    }
};

}  // namespace

class QtAnruflisteViewTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<AnruflisteRig> rig_;

    template <class W = QWidget>
    W* find(const char* name) const {
        W* widget = rig_->view.findChild<W*>(name);
        if (widget == nullptr) {
            qFatal("no control %s", name);
        }
        return widget;
    }

  private slots:
    void init() {
        rig_ = std::make_unique<AnruflisteRig>();
        QVERIFY(QTest::qWaitForWindowActive(&rig_->view));
    }
    void cleanup() { rig_.reset(); }

    void windowFollowsTheTable() {
        kw::test::ExpectLayout(rig_->view, layout::kControls);
        QCOMPARE(rig_->view.windowTitle(), QString("Anrufliste"));
        auto* list = find<QTreeWidget>("LST_Anrufe");
        QCOMPARE(list->headerItem()->text(4), QString("Ergebnis"));
        QCOMPARE(list->topLevelItemCount(), 2);
        QVERIFY(list->hasFocus());
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int step = 0; step < 7; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, QString("LST_Anrufe CHK_NurVerpasste BTN_Ausfuehren BTN_Kopieren "
                                  "BTN_Loeschen BTN_Leeren BTN_Exportieren CancelButton")
                              .split(' '));
    }

    // Forged caller texts arrive as they are: no markup, no entity, no missing "&".
    void aForgedCallerIsPlainText() {
        const QTreeWidgetItem* top = find<QTreeWidget>("LST_Anrufe")->topLevelItem(0);
        QCOMPARE(top->text(1), QString(kForged) + " (" + kForged + ")");
        QCOMPARE(top->text(4), QString("angenommen"));
        QTest::mouseClick(find("BTN_Kopieren"), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString(kForged));
    }

    void keysAndClicksReachThePresenter() {
        auto* list = find<QTreeWidget>("LST_Anrufe");
        QTest::keyClick(list, Qt::Key_Return);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Enter);
        QCOMPARE(rig_->ran, QStringList({kForged, "030 1"}));
        QVERIFY(rig_->view.isVisible());
        QTest::mouseClick(find<QCheckBox>("CHK_NurVerpasste"), Qt::LeftButton, {}, QPoint(4, 6));
        QCOMPARE(list->topLevelItemCount(), 1);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(list->topLevelItemCount(), 0);
        QCOMPARE(rig_->log.entries().size(), 1u);
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!rig_->view.isVisible());
    }
};

QTEST_MAIN(QtAnruflisteViewTest)
#include "qt_anrufliste_view_test.moc"
