#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <memory>

#include "tests/qt/layout_expect.h"
#include "tests/qt/twips_expect.h"
#include "tests/support/fake_desktop.h"
#include "ui/info.h"
#include "ui/info_layout.h"
#include "ui/qt/qt_info_view.h"

using kw::test::ExpectedPixels;

namespace {

struct InfoRig {
    kw::test::FakeProgramInfo program;
    kw::qt::QtInfoView view;
    kw::ui::Info presenter{view, program};

    InfoRig() {
        view.connectTo(presenter);
        presenter.load();
    }
};

}  // namespace

class QtInfoViewTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<InfoRig> rig_;

    QWidget* find(const QString& name) const { return rig_->view.findChild<QWidget*>(name); }

    void showActive() {
        rig_->view.show();
        rig_->view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig_->view));
    }

  private slots:
    void init() { rig_ = std::make_unique<InfoRig>(); }
    void cleanup() { rig_.reset(); }

    void controlsFollowTheTable() {
        showActive();
        kw::test::ExpectLayout(rig_->view, kw::ui::info::kControls);
    }

    void dialogIsFixedAndPlaced() {
        showActive();
        const QRect client = ExpectedPixels(rig_->view, 4995, 3990, 5730, 4470);
        QCOMPARE(rig_->view.geometry().topLeft(),
                 rig_->view.screen()->geometry().topLeft() + client.topLeft());
        QCOMPARE(rig_->view.minimumSize(), client.size());
        QCOMPARE(rig_->view.maximumSize(), client.size());
        QVERIFY(rig_->view.isModal());
        const Qt::WindowFlags flags = rig_->view.windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    }

    void textsAreShownAsPlainLines() {
        QCOMPARE(rig_->view.windowTitle(), QString("Info zu Klingelwart"));
        auto* version = rig_->view.findChild<QLabel*>("lblVersion");
        QVERIFY(version->text().startsWith("Version 2.0.0\n"));
        QVERIFY(!version->text().contains('\r'));
        QCOMPARE(rig_->view.findChild<QLabel*>("lblTitle")->text(),
                 QString("Klingelwart (Freeware)"));
        for (const char* name : {"lblDescription", "lblDisclaimer"}) {
            auto* label = rig_->view.findChild<QLabel*>(name);
            QVERIFY(label->wordWrap());
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
        QVERIFY(rig_->view.findChild<QLabel*>("lblDisclaimer")->text().startsWith("Warnung: "));
    }

    void iconIsA48PixelPictureInABorder() {
        auto* picture = rig_->view.findChild<QLabel*>("picIcon");
        QCOMPARE(picture->pixmap().size(), QSize(48, 48));
        QCOMPARE(picture->frameShape(), QFrame::Box);
        QVERIFY(!rig_->view.windowIcon().isNull());
    }

    void etchedLineIsGreyOverWhite() {
        showActive();
        const QImage image = rig_->view.grab().toImage();
        const int y = ExpectedPixels(rig_->view, 3360);
        const int x = ExpectedPixels(rig_->view, 2000);
        const qreal ratio = image.devicePixelRatio();
        auto at = [&image, ratio](int px, int py) {
            return image.pixelColor(qRound(px * ratio), qRound(py * ratio));
        };
        QCOMPARE(at(x, y), QColor(128, 128, 128));
        QCOMPARE(at(x, y + 1), QColor(Qt::white));
        QVERIFY(at(x, y - 3) != QColor(128, 128, 128));
        // Both lines end where the layout says.
        QVERIFY(at(ExpectedPixels(rig_->view, 5684) + 2, y) != QColor(128, 128, 128));
    }

    void okHasTheFocusAndIsTheDefault() {
        showActive();
        auto* ok = rig_->view.findChild<QPushButton*>("cmdOK");
        QCOMPARE(QApplication::focusWidget(), ok);
        QVERIFY(ok->isDefault());
    }

    void everyWayOutClosesTheDialog_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("cmdOK") << "click";
        QTest::newRow("Enter") << "Return";
        QTest::newRow("Esc") << "Escape";
        QTest::newRow("close box") << "close";
    }
    void everyWayOutClosesTheDialog() {
        QFETCH(QString, how);
        showActive();
        if (how == "click") {
            QTest::mouseClick(find("cmdOK"), Qt::LeftButton);
        } else if (how == "close") {
            static_cast<QWidget&>(rig_->view).close();
        } else {
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(how));
        }
        QTRY_VERIFY(!rig_->view.isVisible());
        // Through the presenter, whose close accepts; Qt alone would reject on Esc.
        QCOMPARE(rig_->view.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(QtInfoViewTest)
#include "qt_info_view_test.moc"
