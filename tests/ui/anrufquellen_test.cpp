#include "ui/anrufquellen.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

#include "tests/support/fake_platform.h"

namespace kw::ui {
namespace {

class FakeAnrufquellenView : public AnrufquellenView {
  public:
    bool checked(SourceCheck box) override { return checks[box]; }
    void setChecked(SourceCheck box, bool on) override { checks[box] = on; }
    std::string text(SourceText box) override { return texts[box]; }
    void setText(SourceText box, std::string_view text) override { texts[box] = text; }
    void setTextEnabled(SourceText box, bool on) override { enabled[box] = on; }
    void focus(SourceText box) override { focused = box; }
    void close() override { closed = true; }

    std::map<SourceCheck, bool> checks;
    std::map<SourceText, std::string> texts;
    std::map<SourceText, bool> enabled;
    std::optional<SourceText> focused;
    bool closed = false;
};

struct Rig {
    explicit Rig(bool phoneControl = true)
        : platform{store, messages, phoneControl,
                   [this](const CallSourceOptions& o) { applied.push_back(o); }},
          presenter(view, platform) {}

    test::FakeSettingsStore store;
    test::FakeMessageBox messages;
    FakeAnrufquellenView view;
    std::vector<CallSourceOptions> applied;
    AnrufquellenPlatform platform;
    Anrufquellen presenter;
};

TEST(Anrufquellen, LoadShowsDefaultsAndDisablesRouterFields) {
    Rig rig;
    rig.presenter.load();
    EXPECT_TRUE(rig.view.checks[SourceCheck::Steuerelement]);
    EXPECT_TRUE(rig.view.checks[SourceCheck::KlingelwartRing]);
    EXPECT_FALSE(rig.view.checks[SourceCheck::Router]);
    EXPECT_EQ(rig.view.texts[SourceText::RouterHost], "fritz.box");
    EXPECT_EQ(rig.view.texts[SourceText::RouterPort], "1012");
    EXPECT_FALSE(rig.view.enabled[SourceText::RouterHost]);
    rig.view.checks[SourceCheck::Router] = true;
    rig.presenter.routerClicked();
    EXPECT_TRUE(rig.view.enabled[SourceText::RouterPort]);
}

TEST(Anrufquellen, RefusedEntriesWriteNothingAndKeepTheDialogOpen) {
    const struct {
        std::string_view host;
        std::string_view port;
        std::string_view message;
        SourceText focus;
    } cases[] = {
        {"", "1012", "Bitte geben Sie den Namen oder die Adresse des Routers ein.",
         SourceText::RouterHost},
        {"fritz.box", "0", "Der Port des Anrufmonitors muss eine Zahl von 1 bis 65535 sein.",
         SourceText::RouterPort},
        {"fritz.box", "65536", "Der Port des Anrufmonitors muss eine Zahl von 1 bis 65535 sein.",
         SourceText::RouterPort},
        {"fritz.box", "10 12", "Der Port des Anrufmonitors muss eine Zahl von 1 bis 65535 sein.",
         SourceText::RouterPort},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.presenter.load();
        rig.view.checks[SourceCheck::Router] = true;
        rig.view.texts[SourceText::RouterHost] = c.host;
        rig.view.texts[SourceText::RouterPort] = c.port;
        rig.presenter.okClicked();
        EXPECT_TRUE(rig.store.writtenKeys.empty()) << c.host << ":" << c.port;
        EXPECT_FALSE(rig.view.closed);
        EXPECT_TRUE(rig.applied.empty());
        ASSERT_EQ(rig.messages.shown.size(), 1u);
        EXPECT_EQ(rig.messages.shown[0].text, c.message);
        EXPECT_EQ(rig.messages.shown[0].title, "Anrufquellen");
        EXPECT_EQ(rig.view.focused, c.focus);
    }
}

TEST(Anrufquellen, OkStoresAppliesAndCloses) {
    Rig rig;
    rig.presenter.load();
    rig.view.checks[SourceCheck::Steuerelement] = false;
    rig.view.checks[SourceCheck::Router] = true;
    rig.view.texts[SourceText::RouterHost] = "192.168.178.1";
    rig.view.texts[SourceText::RouterPort] = "4711";
    rig.presenter.okClicked();
    const CallSourceOptions expected{false, true, true, "192.168.178.1", 4711};
    EXPECT_EQ(LoadCallSourceOptions(rig.store), expected);
    EXPECT_EQ(rig.applied, std::vector{expected});
    EXPECT_TRUE(rig.view.closed);
}

TEST(Anrufquellen, RouterOffKeepsStoredFieldsWhenTheEntriesAreBad) {
    Rig rig(false);
    rig.store.values[{"Klingelwart", "Anrufquellen", "Steuerelement"}] = "0";
    rig.presenter.load();
    rig.view.texts[SourceText::RouterHost] = "";
    rig.view.texts[SourceText::RouterPort] = "x";
    rig.presenter.okClicked();
    // Without a phone control on this system, its stored choice stays as it was.
    EXPECT_EQ(LoadCallSourceOptions(rig.store), (CallSourceOptions{.Steuerelement = false}));
    EXPECT_TRUE(rig.view.closed);
}

TEST(Anrufquellen, FailedWriteSaysSoAndStaysOpen) {
    Rig rig;
    rig.presenter.load();
    rig.store.failWrites = Failure{75, "Pfad-/Dateizugriffsfehler"};
    rig.presenter.okClicked();
    EXPECT_FALSE(rig.view.closed);
    EXPECT_TRUE(rig.applied.empty());
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_NE(rig.messages.shown[0].text.find("Fehler-Nummer 75"), std::string::npos);
}

}  // namespace
}  // namespace kw::ui
