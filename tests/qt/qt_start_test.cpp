#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "ui/qt/german_translation.h"
#include "ui/qt/platform_choice.h"

using kw::qt::DisplayEnvironment;
using kw::qt::PreferredPlatform;

// What the program decides before QApplication exists, and Qt's own texts once it does. Run with
// LC_ALL=C: German must not depend on the user's locale.
class QtStartTest : public QObject {
    Q_OBJECT

  private slots:
    void qtTextsAreGerman() {
        const kw::qt::GermanTranslation german;
        QVERIFY(german.loaded());

        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("&Nein"));

        QLineEdit edit;
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            texts << action->text().section(QLatin1Char('\t'), 0, 0);
        }
        QVERIFY2(texts.contains(QStringLiteral("&Rückgängig")), qPrintable(texts.join(", ")));
        QVERIFY2(texts.contains(QStringLiteral("Einf&ügen")), qPrintable(texts.join(", ")));
    }

    void preferredPlatform_data() {
        QTest::addColumn<QString>("qtQpaPlatform");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("expected");  // empty: Qt decides
        QTest::newRow("XWayland") << "" << ":0" << "wayland-0" << "" << "xcb;wayland";
        QTest::newRow("X only") << "" << ":0" << "" << "" << "xcb";
        QTest::newRow("Wayland only") << "" << "" << "wayland-0" << "" << "";
        QTest::newRow("no display") << "" << "" << "" << "" << "";
        QTest::newRow("user's variable") << "wayland" << ":0" << "wayland-0" << "" << "";
        QTest::newRow("user's -platform") << "" << ":0" << "wayland-0" << "-platform" << "";
        QTest::newRow("user's --platform") << "" << ":0" << "wayland-0" << "--platform" << "";
        QTest::newRow("-platform as a value only")
            << "" << ":0" << "wayland-0" << "-platformx" << "xcb;wayland";
    }
    void preferredPlatform() {
        QFETCH(QString, qtQpaPlatform);
        QFETCH(QString, display);
        QFETCH(QString, waylandDisplay);
        QFETCH(QString, argument);
        QFETCH(QString, expected);
        const std::string variable = qtQpaPlatform.toStdString();
        const std::string x = display.toStdString();
        const std::string wayland = waylandDisplay.toStdString();
        const std::string option = argument.toStdString();
        // The program name never counts, even when it looks like an option.
        const std::array<const char*, 3> arguments{"-platform", option.c_str(), "wayland"};
        const std::optional<std::string> chosen = PreferredPlatform(
            DisplayEnvironment{variable, x, wayland},
            argument.isEmpty() ? std::span(arguments).first(1) : std::span(arguments));
        QCOMPARE(QString::fromStdString(chosen.value_or("")), expected);
    }
};

QTEST_MAIN(QtStartTest)
#include "qt_start_test.moc"
