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

#include "platform/qt/german_translation.h"
#include "platform/qt/platform_choice.h"

using kw::qt::DisplayEnvironment;
using kw::qt::PreferredPlatform;

// What the program decides before QApplication exists, and Qt's own texts once it does. Run with
// LC_ALL=C: German must not depend on the user's locale.
class QtStartTest : public QObject {
    Q_OBJECT

  private slots:
    void qtTextsAreGerman() {
        kw::qt::GermanTranslation german;
        german.need();
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

    void preferredPlatform() {
        struct Case {
            const char* name;
            DisplayEnvironment environment;
            const char* argument;  // nullptr: none
            const char* expected;  // empty: Qt decides
        };
        const Case cases[] = {
            {"XWayland", {"", ":0", "wayland-0"}, nullptr, "xcb;wayland"},
            {"X only", {"", ":0", ""}, nullptr, "xcb"},
            {"Wayland only", {"", "", "wayland-0"}, nullptr, ""},
            {"no display", {"", "", ""}, nullptr, ""},
            {"user's variable", {"wayland", ":0", "wayland-0"}, nullptr, ""},
            {"user's -platform", {"", ":0", "wayland-0"}, "-platform", ""},
            {"user's --platform", {"", ":0", "wayland-0"}, "--platform", ""},
            {"look-alike option", {"", ":0", "wayland-0"}, "-platformx", "xcb;wayland"},
        };
        for (const Case& c : cases) {
            // The program name never counts, even when it looks like an option.
            const std::array<const char*, 3> arguments{"-platform", c.argument, "wayland"};
            const std::span<const char* const> given =
                c.argument == nullptr ? std::span(arguments).first(1) : std::span(arguments);
            QVERIFY2(PreferredPlatform(c.environment, given).value_or("") == c.expected, c.name);
        }
    }
};

QTEST_MAIN(QtStartTest)
#include "qt_start_test.moc"
