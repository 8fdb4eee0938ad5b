#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <vector>

#include "tests/qt/find_control.h"
#include "tests/qt/layout_expect.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "ui/qt/qt_telefonbuecher_view.h"
#include "ui/telefonbuecher.h"
#include "ui/telefonbuecher_layout.h"

namespace {

struct Rig {
    kw::test::FakeSettingsStore store;
    kw::test::FakeMessageBox messages;
    kw::test::FakeFileDialog files;
    std::vector<kw::PhoneBookOptions> applied;
    kw::ui::TelefonbuecherPlatform platform{
        store,
        messages,
        files,
        nullptr,
        [this](const kw::PhoneBookOptions& o) { applied.push_back(o); },
        [] {
            return std::vector<std::string>{"<b>a</b>: 12 Nummern", "b: kaputt"};
        }};
    kw::qt::QtTelefonbuecherView view;
    kw::ui::Telefonbuecher presenter{view, platform};

    Rig() {
        store.values[{"Klingelwart", "Telefonbuch", "Datei1"}] = "/a.vcf";
        store.values[{"Klingelwart", "Telefonbuch", "Datei2"}] = "/b.csv";
        view.connectTo(presenter);
    }
};

}  // namespace

class QtTelefonbuecherViewTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Rig> rig_;

    template <class W = QWidget>
    W* find(const QString& name) const {
        return FindControl<W>(rig_->view, name);
    }
    QStringList listed() const {
        QStringList rows;
        auto* list = find<QListWidget>("LST_Dateien");
        for (int i = 0; i < list->count(); ++i) {
            rows << list->item(i)->text();
        }
        return rows;
    }

  private slots:
    void init() { rig_ = std::make_unique<Rig>(); }
    void cleanup() { rig_.reset(); }

    void dialogFollowsTheTable() {
        kw::test::ExpectLayout(rig_->view, kw::ui::telefonbuecher::kControls);
        rig_->presenter.load();
        QCOMPARE(rig_->view.windowTitle(), QString("Telefonbücher"));
        QVERIFY(find<QPushButton>("OKButton")->isDefault());
        QCOMPARE(find<QLineEdit>("TXT_CardDAVPasswort")->echoMode(), QLineEdit::Password);
        QCOMPARE(find<QLabel>("LBL_Status")->text(), QString("<b>a</b>: 12 Nummern\nb: kaputt"));
        QCOMPARE(find<QLabel>("LBL_Status")->textFormat(), Qt::PlainText);
    }

    // The buttons reach the presenter, and a row the user picks decides what they move.
    void buttonsEditTheListAtTheChosenRow() {
        rig_->presenter.load();
        rig_->view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&rig_->view));
        QVERIFY(!find("BTN_Oben")->isEnabled());
        find<QListWidget>("LST_Dateien")->setCurrentRow(1);
        QVERIFY(find("BTN_Oben")->isEnabled());
        QVERIFY(!find("BTN_Unten")->isEnabled());
        QTest::mouseClick(find("BTN_Oben"), Qt::LeftButton);
        QCOMPARE(listed(), (QStringList{"/b.csv", "/a.vcf"}));
        rig_->files.chosen = "/ordner";
        QTest::mouseClick(find("BTN_Ordner"), Qt::LeftButton);
        QTest::mouseClick(find("BTN_Entfernen"), Qt::LeftButton);
        QTest::mouseClick(find("OKButton"), Qt::LeftButton);
        QCOMPARE(rig_->applied.size(), std::size_t{1});
        QCOMPARE(rig_->applied[0].Dateien, (std::vector<std::string>{"/b.csv", "/a.vcf"}));
    }
};

QTEST_MAIN(QtTelefonbuecherViewTest)
#include "qt_telefonbuecher_view_test.moc"
