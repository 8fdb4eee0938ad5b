#include "ui/telefonbuecher.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fake_secret_store.h"

namespace kw::ui {
namespace {

class FakeView : public TelefonbuecherView {
  public:
    std::string text(BookText box) override { return texts[box]; }
    void setText(BookText box, std::string_view text) override { texts[box] = text; }
    void focus(BookText box) override { focused = box; }
    void setFiles(const std::vector<std::string>& shown, int chosen) override {
        files = shown;
        selected = chosen;
    }
    int selectedFile() override { return selected; }
    void setButtonEnabled(BookButton button, bool on) override { enabled[button] = on; }
    void setStatus(std::string_view lines) override { status = lines; }
    void close() override { closed = true; }

    std::map<BookText, std::string> texts;
    std::vector<std::string> files;
    int selected = -1;
    std::map<BookButton, bool> enabled;
    std::string status;
    std::optional<BookText> focused;
    bool closed = false;
};

struct Rig {
    Rig() {
        store.values[{"Klingelwart", "Telefonbuch", "Datei1"}] = "/a.vcf";
        store.values[{"Klingelwart", "Telefonbuch", "Datei2"}] = "/b";
        presenter.load();
    }
    test::FakeSecretStore secrets;
    test::FakeSettingsStore store;
    test::FakeMessageBox messages;
    test::FakeFileDialog files;
    FakeView view;
    std::vector<PhoneBookOptions> applied;
    TelefonbuecherPlatform platform{store,
                                    messages,
                                    files,
                                    &secrets,
                                    [this](const PhoneBookOptions& o) { applied.push_back(o); },
                                    [] {
                                        return std::vector<std::string>{"a: 3 Nummern", "b: x"};
                                    }};
    Telefonbuecher presenter{view, platform};
};

TEST(Telefonbuecher, ListEditsKeepTheSelectionAndItsButtonsRight) {
    using Files = std::vector<std::string>;
    const struct {
        void (Telefonbuecher::*click)();
        int selectedBefore;
        Files files;
        int selected;
        bool up, down;
    } cases[] = {
        {&Telefonbuecher::downClicked, 0, {"/b", "/a.vcf"}, 1, true, false},
        {&Telefonbuecher::downClicked, 1, {"/a.vcf", "/b"}, 1, true, false},
        {&Telefonbuecher::upClicked, 0, {"/a.vcf", "/b"}, 0, false, true},
        {&Telefonbuecher::removeClicked, 1, {"/a.vcf"}, 0, false, false},
        {&Telefonbuecher::removeClicked, -1, {"/a.vcf", "/b"}, -1, false, false},
        // Added again, a book is only selected where it already stands.
        {&Telefonbuecher::addFileClicked, -1, {"/a.vcf", "/b"}, 0, false, true},
        {&Telefonbuecher::addFolderClicked, 0, {"/a.vcf", "/b", "/neu"}, 2, true, false},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.files.chosen = c.click == &Telefonbuecher::addFolderClicked ? "/neu" : "/a.vcf";
        rig.view.selected = c.selectedBefore;
        rig.presenter.selectionChanged();
        (rig.presenter.*c.click)();
        EXPECT_EQ(rig.view.files, c.files) << c.selectedBefore;
        EXPECT_EQ(rig.view.selected, c.selected) << c.selectedBefore;
        EXPECT_EQ(rig.view.enabled[BookButton::Up], c.up) << c.selectedBefore;
        EXPECT_EQ(rig.view.enabled[BookButton::Down], c.down) << c.selectedBefore;
        EXPECT_EQ(rig.view.enabled[BookButton::Remove], c.selected >= 0);
    }
    Rig cancelled;
    cancelled.files.cancel = true;
    cancelled.presenter.addFolderClicked();
    EXPECT_EQ(cancelled.view.files.size(), 2u);
    EXPECT_EQ(cancelled.view.status, "a: 3 Nummern\nb: x");
}

TEST(Telefonbuecher, BadEntriesWriteNothingAndKeepTheDialogOpen) {
    const struct {
        std::string_view country, area, url, user, password;
        bool haveStored;
        std::string_view message;
    } cases[] = {
        {"", "", "", "", "", false, "Die Landesvorwahl muss"},
        {"4930", "", "", "", "", false, "Die Landesvorwahl muss"},
        {"+49", "", "", "", "", false, "Die Landesvorwahl muss"},
        {"49", "030-", "", "", "", false, "Die Ortsvorwahl darf"},
        {"49", "", "dav.example.net", "u", "pw", false, "Die CardDAV-Adresse muss"},
        {"49", "", "https://", "u", "pw", false, "Die CardDAV-Adresse muss"},
        {"49", "", "ftp://dav/", "u", "pw", false, "Die CardDAV-Adresse muss"},
        {"49", "", "https://dav/", "", "pw", false, "Bitte geben Sie den CardDAV-Benutzernamen"},
        {"49", "", "https://dav/", "u", "", false, "Bitte geben Sie das CardDAV-Passwort"},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.view.texts = {{BookText::Landesvorwahl, std::string(c.country)},
                          {BookText::Ortsvorwahl, std::string(c.area)},
                          {BookText::CardDAV, std::string(c.url)},
                          {BookText::CardDAVBenutzer, std::string(c.user)},
                          {BookText::CardDAVPasswort, std::string(c.password)}};
        rig.presenter.okClicked();
        EXPECT_TRUE(rig.store.writtenKeys.empty()) << c.message;
        EXPECT_FALSE(rig.view.closed) << c.message;
        ASSERT_EQ(rig.messages.shown.size(), 1u) << c.message;
        EXPECT_EQ(rig.messages.shown[0].text.rfind(c.message, 0), 0u) << rig.messages.shown[0].text;
        EXPECT_TRUE(rig.view.focused.has_value()) << c.message;
    }
}

TEST(Telefonbuecher, OkStoresAppliesAndMovesThePasswordWithItsAccount) {
    Rig rig;
    rig.store.values[{"Klingelwart", "Telefonbuch", "CardDAV"}] = "https://alt/";
    rig.store.values[{"Klingelwart", "Telefonbuch", "CardDAVBenutzer"}] = "u";
    rig.secrets.passwords[{"https://alt/", "u"}] = "alt";
    rig.presenter.load();
    rig.view.selected = 0;
    rig.presenter.removeClicked();
    rig.view.texts[BookText::Ortsvorwahl] = "089";
    rig.view.texts[BookText::CardDAV] = "http://neu/";
    rig.view.texts[BookText::CardDAVPasswort] = "geheim";
    rig.presenter.okClicked();
    EXPECT_TRUE(rig.view.closed);
    const PhoneBookOptions expected{
        .Dateien = {"/b"}, .Ortsvorwahl = "089", .CardDAV = "http://neu/", .CardDAVBenutzer = "u"};
    EXPECT_EQ(rig.applied, std::vector{expected});
    EXPECT_EQ(rig.secrets.passwords,
              (std::map<test::Account, std::string>{{{"http://neu/", "u"}, "geheim"}}));
    for (const auto& [address, value] : rig.store.values) {
        EXPECT_EQ(value.find("geheim"), std::string::npos);
    }
}

TEST(Telefonbuecher, NoSafePasswordStoreRefusesCardDavOnly) {
    Rig rig;
    rig.platform.secrets = nullptr;
    rig.view.texts[BookText::CardDAV] = "https://dav/";
    rig.view.texts[BookText::CardDAVBenutzer] = "u";
    rig.presenter.okClicked();
    EXPECT_FALSE(rig.view.closed);
    rig.view.texts[BookText::CardDAV] = "";
    rig.presenter.okClicked();
    EXPECT_TRUE(rig.view.closed);
}

}  // namespace
}  // namespace kw::ui
