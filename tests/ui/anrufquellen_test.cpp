#include "ui/anrufquellen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "core/sip_fingerprint.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fake_secret_store.h"
#include "ui/anrufquellen_layout.h"

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
    SipTransport transport() override { return chosenTransport; }
    void setTransport(SipTransport t) override { chosenTransport = t; }
    void setTransportEnabled(bool on) override { transportEnabled = on; }

    SipTransport chosenTransport = SipTransport::Udp;
    bool transportEnabled = true;
    std::map<SourceCheck, bool> checks;
    std::map<SourceText, std::string> texts;
    std::map<SourceText, bool> enabled;
    std::optional<SourceText> focused;
    bool closed = false;
};

using test::Account;
using test::FakeSecretStore;

const std::vector<SourceRow> kEverySource{source::kSteuerelement, source::kKlingelwartRing,
                                          source::kRouter, source::kSip};
const std::vector<SourceRow> kNoPhoneControl{kEverySource.begin() + 1, kEverySource.end()};

struct Rig {
    explicit Rig(bool phoneControl = true)
        : platform{store, messages, phoneControl ? kEverySource : kNoPhoneControl,
                   [this](const CallSourceOptions& o) { applied.push_back(o); }, &secrets},
          presenter(view, platform) {}

    // Opens the dialog on a stored SIP account and its password.
    void loadSip() {
        store.values[{"Klingelwart", "Anrufquellen", "SIP"}] = "1";
        store.values[{"Klingelwart", "Anrufquellen", "SIPServer"}] = "sip.example.net";
        store.values[{"Klingelwart", "Anrufquellen", "SIPBenutzer"}] = "4930123";
        secrets.passwords[{"sip.example.net", "4930123"}] = "alt";
        presenter.load();
    }

    FakeSecretStore secrets;
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
    EXPECT_FALSE(rig.view.transportEnabled);
    rig.view.checks[SourceCheck::Router] = true;
    rig.presenter.checkClicked(SourceCheck::Router);
    EXPECT_TRUE(rig.view.enabled[SourceText::RouterPort]);
    rig.view.checks[SourceCheck::SIP] = true;
    rig.presenter.checkClicked(SourceCheck::SIP);
    EXPECT_TRUE(rig.view.transportEnabled);
}

TEST(Anrufquellen, SipRefusedWritesNothingAndKeepsTheDialogOpen) {
    const std::string_view noSafeStore =
        "Das SIP-Passwort kann nicht sicher gespeichert werden. SIP bleibt ausgeschaltet.";
    const Failure locked{70, "gesperrt"};
    const struct {
        std::string_view server;
        std::string_view user;
        std::string_view password;
        MaybeFailure unavailable;
        MaybeFailure failStore;
        bool noStore;
        std::string_view message;  // the start of it
        std::optional<SourceText> focus;
    } cases[] = {
        {"",
         "4930123",
         "pw",
         {},
         {},
         false,
         "Bitte geben Sie den SIP-Server ein.",
         SourceText::SIPServer},
        {"sip.example.net",
         "",
         "pw",
         {},
         {},
         false,
         "Bitte geben Sie den SIP-Benutzernamen ein.",
         SourceText::SIPBenutzer},
        // An empty box keeps a stored password, but a new account has none yet.
        {"sip.example.net",
         "493012",
         "",
         {},
         {},
         false,
         "Bitte geben Sie das SIP-Passwort ein.",
         SourceText::SIPPasswort},
        {"sip.example.net", "4930123", "pw", locked, {}, false, noSafeStore, {}},
        {"sip.example.net", "4930123", "pw", {}, locked, false, noSafeStore, {}},
        {"sip.example.net", "4930123", "", locked, {}, false, noSafeStore, {}},
        {"sip.example.net", "4930123", "pw", {}, {}, true, noSafeStore, {}},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.loadSip();
        if (c.noStore) {
            rig.platform.secrets = nullptr;
        }
        rig.secrets.unavailable = c.unavailable;
        rig.secrets.failStore = c.failStore;
        rig.view.texts[SourceText::SIPServer] = c.server;
        rig.view.texts[SourceText::SIPBenutzer] = c.user;
        rig.view.texts[SourceText::SIPPasswort] = c.password;
        rig.presenter.okClicked();
        const std::string label = std::string(c.message) + " / " + std::string(c.user);
        EXPECT_TRUE(rig.store.writtenKeys.empty()) << label;
        EXPECT_FALSE(rig.view.closed) << label;
        EXPECT_EQ(rig.secrets.passwords,
                  (std::map<Account, std::string>{{{"sip.example.net", "4930123"}, "alt"}}))
            << label;
        ASSERT_EQ(rig.messages.shown.size(), 1u) << label;
        EXPECT_EQ(rig.messages.shown[0].text.rfind(c.message, 0), 0u) << label;
        EXPECT_EQ(rig.view.focused, c.focus) << label;
        // Refused for want of a safe store, SIP is switched off, so that OK saves the rest.
        EXPECT_EQ(rig.view.checks[SourceCheck::SIP], c.focus.has_value()) << label;
    }
}

TEST(Anrufquellen, SipPasswordGoesToItsStoreOnly) {
    Rig rig;
    rig.loadSip();
    rig.view.texts[SourceText::SIPBenutzer] = "4930999";
    rig.view.texts[SourceText::SIPPasswort] = "geheim";
    rig.view.chosenTransport = SipTransport::Tcp;
    rig.presenter.okClicked();
    EXPECT_TRUE(rig.view.closed);
    // The old account's password goes with it.
    EXPECT_EQ(rig.secrets.passwords,
              (std::map<Account, std::string>{{{"sip.example.net", "4930999"}, "geheim"}}));
    const CallSourceOptions stored = LoadCallSourceOptions(rig.store);
    EXPECT_EQ(stored.SIPBenutzer, "4930999");
    EXPECT_EQ(stored.SIPTransport, SipTransport::Tcp);
    for (const auto& [address, value] : rig.store.values) {
        EXPECT_EQ(value.find("geheim"), std::string::npos) << std::get<2>(address);
    }
}

// The trusted certificate belongs to the account it was trusted for.
TEST(Anrufquellen, SipCertificateIsKeptWithItsServer) {
    const std::string pairs =
        "AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:AA:"
        "AA:AA:AA:AA:AA:AA:AA:AA:AA:AA";
    const std::string other = std::string(64, 'b');
    const struct {
        std::string server;
        std::string typed;
        bool closes;
        std::string kept;
    } cases[] = {
        {"sip.example.net", pairs, true, pairs},
        {"sip.example.net", other, true, ParseSipFingerprint(other).value()},
        {"sip.example.net", "", true, ""},
        {"sip.example.net", "AA:AA", false, pairs},
        {"andere.example.net", pairs, true, ""},  // untouched, so not trusted for the new one
        {"andere.example.net", other, true, ParseSipFingerprint(other).value()},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.store.values[{"Klingelwart", "Anrufquellen", "SIPZertifikat"}] = std::string(64, 'A');
        rig.loadSip();
        EXPECT_EQ(rig.view.texts[SourceText::SIPZertifikat], pairs);
        rig.view.texts[SourceText::SIPServer] = c.server;
        rig.view.texts[SourceText::SIPZertifikat] = c.typed;
        rig.view.texts[SourceText::SIPPasswort] = "pw";
        rig.presenter.okClicked();
        EXPECT_EQ(rig.view.closed, c.closes) << c.typed;
        EXPECT_EQ(LoadCallSourceOptions(rig.store).SIPZertifikat, c.kept) << c.typed;
        if (!c.closes) {
            EXPECT_EQ(rig.view.focused, SourceText::SIPZertifikat);
        }
    }
}

TEST(Anrufquellen, PasswordStoreIsAskedOnlyOnOkWithSip) {
    Rig keep;
    keep.store.values[{"Klingelwart", "Anrufquellen", "SIPTransport"}] = "TLS";
    keep.loadSip();
    EXPECT_EQ(keep.secrets.calls, 0);
    EXPECT_EQ(keep.view.texts[SourceText::SIPPasswort], "");
    EXPECT_EQ(keep.view.chosenTransport, SipTransport::Tls);
    keep.presenter.okClicked();
    EXPECT_TRUE(keep.view.closed);
    EXPECT_EQ(keep.secrets.passwords.at({"sip.example.net", "4930123"}), "alt");
    EXPECT_EQ(keep.secrets.calls, 2);  // available, read
    EXPECT_EQ(LoadCallSourceOptions(keep.store).SIPTransport, SipTransport::Tls);

    Rig off;
    off.secrets.unavailable = Failure{70, "gesperrt"};
    off.presenter.load();
    off.presenter.okClicked();
    EXPECT_TRUE(off.view.closed);
    EXPECT_EQ(off.secrets.calls, 0);
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

// A row naming a key the settings do not hold, or a box neither dialog has, would be silently
// dropped by the presenter and the views.
TEST(Anrufquellen, EverySourceRowNamesRealKeysAndBoxes) {
    auto hasControl = [](std::string_view name) {
        auto named = [name](const ControlLayout& row) { return row.name == name; };
        return std::ranges::any_of(anrufquellen::kLinuxControls, named) ||
               std::ranges::any_of(anrufquellen::kWindowsControls, named);
    };
    for (const SourceRow& row : kEverySource) {
        CallSourceOptions options;
        EXPECT_TRUE(SetOptionText(options, row.key, "1") && SwitchedOn(options, row.key))
            << row.key;
        EXPECT_TRUE(hasControl(row.check.name)) << row.check.name;
        for (const SourceTextRow& text : row.texts) {
            EXPECT_TRUE(hasControl(text.box.name)) << text.box.name;
            // A key not in the settings takes no text at all; the others take one of these.
            EXPECT_TRUE(text.key.empty() || SetOptionText(options, text.key, "1") ||
                        SetOptionText(options, text.key, ""))
                << text.key;
        }
    }
}

}  // namespace
}  // namespace kw::ui
