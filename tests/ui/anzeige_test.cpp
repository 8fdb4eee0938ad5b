#include "ui/anzeige.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "tests/support/fake_platform.h"

namespace kw::ui {
namespace {

using test::FakeAutostart;
using test::FakeMessageBox;
using test::FakeSettingsStore;

class FakeAnzeigeView : public AnzeigeView {
  public:
    bool checked(AnzeigeCheck box) override { return checks[box]; }
    void setChecked(AnzeigeCheck box, bool on) override { checks[box] = on; }
    void setEnabled(AnzeigeCheck box, bool on) override { enabled[box] = on; }
    void close() override { closed = true; }

    std::map<AnzeigeCheck, bool> checks;
    std::map<AnzeigeCheck, bool> enabled;
    bool closed = false;
};

struct Rig {
    FakeAnzeigeView view;
    FakeSettingsStore store;
    FakeMessageBox messages;
    FakeAutostart autostart;
    std::vector<DisplayOptions> applied;
    AnzeigePlatform platform{store, messages, autostart,
                             [this](const DisplayOptions& o) { applied.push_back(o); }};
    Anzeige presenter{view, platform};
};

TEST(Anzeige, ShowsTheStoredChoiceAndTheRealAutostartEntry) {
    Rig rig;
    rig.autostart.on = true;
    rig.store.values[{"Klingelwart", "Anzeige", "Benachrichtigung"}] = "1";
    rig.presenter.load();
    EXPECT_TRUE(rig.view.checks[AnzeigeCheck::Benachrichtigung]);
    EXPECT_TRUE(rig.view.checks[AnzeigeCheck::Autostart]);
    EXPECT_TRUE(rig.view.enabled[AnzeigeCheck::Autostart]);

    rig.view.checks[AnzeigeCheck::Benachrichtigung] = false;
    rig.view.checks[AnzeigeCheck::Autostart] = false;
    rig.presenter.okClicked();
    EXPECT_TRUE(rig.view.closed);
    EXPECT_EQ((rig.store.values[{"Klingelwart", "Anzeige", "Benachrichtigung"}]), "0");
    EXPECT_FALSE(rig.autostart.on);
    ASSERT_EQ(rig.applied.size(), 1u);
    EXPECT_FALSE(rig.applied[0].Benachrichtigung);
}

TEST(Anzeige, AnUnchangedEntryIsLeftAloneAndAnUnreadableOneIsNotOffered) {
    Rig rig;
    rig.presenter.load();
    rig.presenter.okClicked();
    EXPECT_EQ(rig.autostart.sets, 0);

    Rig unreadable;
    unreadable.autostart.readFailure = Failure{70, "Zugriff verweigert"};
    unreadable.presenter.load();
    EXPECT_FALSE(unreadable.view.enabled[AnzeigeCheck::Autostart]);
    unreadable.view.checks[AnzeigeCheck::Autostart] = true;
    unreadable.presenter.okClicked();
    EXPECT_EQ(unreadable.autostart.sets, 0);
    EXPECT_TRUE(unreadable.view.closed);
}

TEST(Anzeige, AFailedChangeKeepsTheDialogOpenAndSaysWhy) {
    const struct {
        const char* what;
        bool storeFails;
        const char* expectedStart;
    } cases[] = {
        {"store", true, "Die Einstellung konnte nicht gespeichert werden."},
        {"autostart", false, "Der Start beim Anmelden konnte nicht geändert werden."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        rig.presenter.load();
        rig.view.checks[AnzeigeCheck::Autostart] = true;
        if (c.storeFails) {
            rig.store.failWrites = Failure{75, "Fehler beim Zugriff auf Pfad/Datei"};
        } else {
            rig.autostart.setFailure = Failure{70, "Zugriff verweigert"};
        }
        rig.presenter.okClicked();
        EXPECT_FALSE(rig.view.closed);
        EXPECT_TRUE(rig.applied.empty());
        ASSERT_EQ(rig.messages.shown.size(), 1u);
        EXPECT_EQ(rig.messages.shown[0].text.rfind(c.expectedStart, 0), 0u);
        EXPECT_EQ(rig.messages.shown[0].title, "Anzeige und Start");
    }
}

}  // namespace
}  // namespace kw::ui
