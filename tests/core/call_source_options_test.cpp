#include "core/call_source_options.h"

#include <gtest/gtest.h>

#include <optional>

#include "tests/support/fake_platform.h"

namespace kw {
namespace {

using test::FakeSettingsStore;

CallSourceOptions LoadWith(std::string_view key, std::string_view value) {
    FakeSettingsStore store;
    store.values[{"Klingelwart", "Anrufquellen", std::string(key)}] = value;
    return LoadCallSourceOptions(store);
}

TEST(CallSourceOptions, MissingSectionKeepsTodaysSources) {
    FakeSettingsStore store;
    store.set("Shell", "x");  // the section "Options" does not count
    EXPECT_EQ(LoadCallSourceOptions(store), CallSourceOptions{});
    EXPECT_EQ(CallSourceOptions{}, (CallSourceOptions{true, true, false, "fritz.box", 1012}));
}

TEST(CallSourceOptions, OnlyExactValuesCount) {
    const CallSourceOptions d;
    const struct {
        std::string_view key;
        std::string_view value;
        CallSourceOptions expected;
    } cases[] = {
        {"Router", "1", {.Router = true}},
        {"Router", "0", d},
        {"Router", " 1", d},
        {"Router", "true", d},
        {"Steuerelement", "0", {.Steuerelement = false}},
        {"Steuerelement", "01", d},
        {"KlingelwartRing", "0", {.KlingelwartRing = false}},
        {"KlingelwartRing", "", d},
        {"RouterHost", "192.168.178.1", {.RouterHost = "192.168.178.1"}},
        {"RouterHost", "", d},
        {"RouterPort", "1", {.RouterPort = 1}},
        {"RouterPort", "65535", {.RouterPort = 65535}},
        {"RouterPort", "65536", d},
        {"RouterPort", "0", d},
        {"RouterPort", "-1012", d},
        {"RouterPort", " 1012", d},
        {"RouterPort", "1012x", d},
        {"RouterPort", "99999999999999999999", d},
        {"SIP", "1", {.SIP = true}},
        {"SIP", "ja", d},
        {"SIPServer", "sip.example.net", {.SIPServer = "sip.example.net"}},
        {"SIPBenutzer", "4930123", {.SIPBenutzer = "4930123"}},
        {"SIPAuthName", "auth 1", {.SIPAuthName = "auth 1"}},
        {"SIPTransport", "TLS", {.SIPTransport = SipTransport::Tls}},
        {"SIPTransport", "TCP", {.SIPTransport = SipTransport::Tcp}},
        {"SIPTransport", "tcp", d},
        {"SIPTransport", "TLS ", d},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadWith(c.key, c.value), c.expected) << c.key << "=" << c.value;
    }
}

TEST(CallSourceOptions, WrittenValuesReadBackIntoTheirOwnSection) {
    FakeSettingsStore store;
    const CallSourceOptions chosen{.Steuerelement = false,
                                   .Router = true,
                                   .RouterHost = "router.local",
                                   .RouterPort = 4711,
                                   .SIP = true,
                                   .SIPServer = "sip",
                                   .SIPBenutzer = "benutzer",
                                   .SIPTransport = SipTransport::Tls};
    EXPECT_FALSE(WriteCallSourceOptions(store, chosen));
    EXPECT_EQ(LoadCallSourceOptions(store), chosen);
    for (const auto& [address, value] : store.values) {
        EXPECT_EQ(std::get<1>(address), "Anrufquellen");
        EXPECT_EQ(std::get<2>(address).find("Pass"), std::string::npos);
    }
    store.failWrites = Failure{75, "kaputt"};
    EXPECT_TRUE(WriteCallSourceOptions(store, chosen).has_value());
}

// The dialog sets options through the same rules the settings are read by: a text that is no
// value must leave the option alone, not half-set it.
TEST(CallSourceOptions, OptionTextTakesOnlyValues) {
    const struct {
        std::string_view key;
        std::string_view text;
        bool taken;
    } cases[] = {
        {"Router", "1", true},         {"Router", "ja", false},
        {"RouterHost", "", false},     {"SIPServer", "", true},
        {"RouterPort", "65535", true}, {"RouterPort", "65536", false},
        {"SIPTransport", "TLS", true}, {"SIPTransport", "tls", false},
        {"Unbekannt", "1", false},
    };
    for (const auto& c : cases) {
        CallSourceOptions options;
        options.SIPServer = "vorher";
        const CallSourceOptions before = options;
        EXPECT_EQ(SetOptionText(options, c.key, c.text), c.taken) << c.key << "=" << c.text;
        if (c.taken) {
            EXPECT_EQ(OptionText(options, c.key), c.text) << c.key;
        } else {
            EXPECT_EQ(options, before) << c.key << "=" << c.text;
        }
    }
}

TEST(CallSourceOptions, AStoreFailingMidwayKeepsTheOldSectionWhole) {
    for (const std::size_t failing : {2u, 6u, 10u}) {
        FakeSettingsStore store;
        store.values[{"Klingelwart", "Anrufquellen", "Router"}] = "0";
        store.values[{"Klingelwart", "Anrufquellen", "SIPServer"}] = "alt";
        const auto before = store.values;
        store.failAtKey = failing;
        EXPECT_TRUE(WriteCallSourceOptions(store, {.Router = true, .SIPServer = "neu"})) << failing;
        EXPECT_EQ(store.values, before) << failing;
    }
}

}  // namespace
}  // namespace kw
