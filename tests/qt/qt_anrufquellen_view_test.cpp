#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include <memory>
#include <vector>

#include "tests/qt/accessible_toggle.h"
#include "tests/qt/find_control.h"
#include "tests/qt/layout_expect.h"
#include "tests/qt/twips_expect.h"
#include "tests/support/fake_platform.h"
#include "ui/anrufquellen.h"
#include "ui/anrufquellen_layout.h"
#include "ui/qt/qt_anrufquellen_view.h"

namespace layout = kw::ui::anrufquellen;

namespace {

struct AnrufquellenRig {
    kw::test::FakeSettingsStore store;
    kw::test::FakeMessageBox messages;
    std::vector<kw::CallSourceOptions> applied;
    kw::ui::AnrufquellenPlatform platform{
        store,
        messages,
        {kw::ui::source::kKlingelwartRing, kw::ui::source::kRouter, kw::ui::source::kSip},
        [this](const kw::CallSourceOptions& o) { applied.push_back(o); }};
    kw::qt::QtAnrufquellenView view;
    kw::ui::Anrufquellen presenter{view, platform};

    AnrufquellenRig() { view.connectTo(presenter); }
};

}  // namespace

class QtAnrufquellenViewTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<AnrufquellenRig> rig_;

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

    // On the box itself: a wide check box takes clicks on its indicator and caption only.
    void click(const QString& name) const {
        QWidget* box = find(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    }

    QString state() const {
        if (rig_->view.isVisible()) {
            return "open";
        }
        return rig_->view.result() == QDialog::Accepted ? "accepted" : "rejected";
    }

  private slots:
    void init() { rig_ = std::make_unique<AnrufquellenRig>(); }
    void cleanup() { rig_.reset(); }

    void dialogFollowsTheTable() {
        kw::test::ExpectLayout(rig_->view, layout::kLinuxControls);
        load();
        QVERIFY(rig_->view.findChild<QCheckBox*>("CHK_Steuerelement") == nullptr);
        const auto& window = layout::kLinuxWindow;
        const QRect client =
            kw::test::ExpectedPixels(rig_->view, window.screenLeft, window.screenTop,
                                     window.clientWidth, window.clientHeight);
        QCOMPARE(rig_->view.geometry().topLeft(),
                 rig_->view.screen()->geometry().topLeft() + client.topLeft());
        QCOMPARE(rig_->view.minimumSize(), client.size());
        QCOMPARE(rig_->view.maximumSize(), client.size());
        QCOMPARE(rig_->view.windowTitle(), QString("Anrufquellen"));
        QVERIFY(find<QPushButton>("OKButton")->isDefault());
        QCOMPARE(find<QLineEdit>("TXT_SIPPasswort")->echoMode(), QLineEdit::Password);
    }

    // The transport group is one tab stop, at its choice.
    void tabKeyFollowsTheTable() {
        rig_->store.values[{"Klingelwart", "Anrufquellen", "SIP"}] = "1";
        rig_->store.values[{"Klingelwart", "Anrufquellen", "SIPTransport"}] = "TCP";
        rig_->store.values[{"Klingelwart", "Anrufquellen", "Router"}] = "1";
        load();
        const QStringList expected =
            QString(
                "CHK_KlingelwartRing CHK_Router TXT_RouterHost TXT_RouterPort CHK_SIP "
                "TXT_SIPServer TXT_SIPBenutzer TXT_SIPAuthName TXT_SIPPasswort OPT_TCP "
                "TXT_SIPZertifikat "
                "CancelButton OKButton")
                .split(' ');
        find(expected.front())->setFocus(Qt::TabFocusReason);
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (qsizetype step = 1; step < expected.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void checkBoxesSwitchTheirFields() {
        load();
        const QStringList router{"TXT_RouterHost", "TXT_RouterPort"};
        const QStringList sip{"TXT_SIPServer",   "TXT_SIPBenutzer", "TXT_SIPAuthName",
                              "TXT_SIPPasswort", "OPT_UDP",         "OPT_TCP",
                              "OPT_TLS"};
        auto enabled = [this](const QStringList& names) {
            QStringList on;
            for (const QString& name : names) {
                if (find(name)->isEnabled()) {
                    on << name;
                }
            }
            return on;
        };
        // Mouse, keyboard and a screen reader's toggle action, in turn.
        const struct {
            const char* how;
            const char* box;
            QStringList enabled;
        } steps[] = {
            {"mouse", "CHK_Router", router},  {"space", "CHK_SIP", router + sip},
            {"mouse", "CHK_Router", sip},     {"toggle", "CHK_SIP", {}},
            {"toggle", "CHK_Router", router}, {"toggle", "CHK_SIP", router + sip},
        };
        QCOMPARE(enabled(router + sip), QStringList());
        for (const auto& step : steps) {
            if (QByteArray(step.how) == "mouse") {
                click(step.box);
            } else if (QByteArray(step.how) == "space") {
                QTest::keyClick(find(step.box), Qt::Key_Space);
            } else {
                QVERIFY(kw::test::ToggleAccessibly(find(step.box)));
            }
            QCOMPARE(enabled(router + sip), step.enabled);
        }
    }

    void transportIsOneGroup() {
        load();
        for (const auto transport : {kw::SipTransport::Tls, kw::SipTransport::Tcp}) {
            rig_->view.setTransport(transport);
            QCOMPARE(rig_->view.transport(), transport);
        }
        QVERIFY(find<QRadioButton>("OPT_TCP")->isChecked());
        QVERIFY(!find<QRadioButton>("OPT_TLS")->isChecked());
    }

    void endings_data() {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("expected");
        QTest::newRow("OK") << "OKButton"
                            << "1012"
                            << "accepted, applied 1";
        QTest::newRow("Enter") << "Return"
                               << "1012"
                               << "accepted, applied 1";
        QTest::newRow("OK, bad port") << "OKButton"
                                      << "0"
                                      << "open, applied 0";
        QTest::newRow("Cancel") << "CancelButton"
                                << "1012"
                                << "rejected, applied 0";
        QTest::newRow("Esc") << "Escape"
                             << "1012"
                             << "rejected, applied 0";
        QTest::newRow("close box") << "close"
                                   << "1012"
                                   << "rejected, applied 0";
    }
    void endings() {
        QFETCH(QString, trigger);
        QFETCH(QString, port);
        QFETCH(QString, expected);
        load();
        click("CHK_Router");
        find<QLineEdit>("TXT_RouterPort")->setText(port);
        find("TXT_RouterHost")->setFocus();
        if (trigger == "close") {
            static_cast<QWidget&>(rig_->view).close();
        } else if (trigger.endsWith("Button")) {
            QTest::mouseClick(find(trigger), Qt::LeftButton);
        } else {
            QTest::keySequence(QApplication::focusWidget(), QKeySequence(trigger));
        }
        QCOMPARE(state() + ", applied " + QString::number(rig_->applied.size()), expected);
    }
};

QTEST_MAIN(QtAnrufquellenViewTest)
#include "qt_anrufquellen_view_test.moc"
