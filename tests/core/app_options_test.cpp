#include "core/app_options.h"

#include <gtest/gtest.h>

#include <optional>

#include "tests/support/fake_platform.h"

namespace kw {
namespace {

using test::FakeSettingsStore;

// A stored value, or nullopt for a missing key.
using Stored = std::optional<std::string>;

AppOptions LoadWith(std::string_view key, const Stored& value, AppOptions options = {}) {
    FakeSettingsStore store;
    if (value) {
        store.set(key, *value);
    }
    LoadOptions(store, options);
    return options;
}

TEST(LoadOptions, EmptyStoreGivesShellActionAndZeroStart) {
    FakeSettingsStore store;
    AppOptions options;
    LoadOptions(store, options);
    EXPECT_EQ(options, (AppOptions{.DoJob = true}));
}

TEST(LoadOptions, DoJobIsFalseOnlyForExactlyZero) {
    const struct {
        Stored stored;
        bool expected;
    } cases[] = {{"0", false}, {"1", true},  {"", true},      {"00", true},        {" 0", true},
                 {"0 ", true}, {"no", true}, {"False", true}, {std::nullopt, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(LoadWith(key::kDoJob, c.stored).DoJob, c.expected)
            << c.stored.value_or("<missing>");
    }
}

TEST(LoadOptions, FlagsAreTrueOnlyForExactlyOne) {
    const struct {
        Stored stored;
        bool expected;
    } cases[] = {{"1", true},   {"-1", false}, {"True", false}, {" 1", false},
                 {"1 ", false}, {"01", false}, {"", false},     {std::nullopt, false}};
    for (const auto flagKey : {key::kParameter, key::kFormatierung}) {
        for (const auto& c : cases) {
            const AppOptions options = LoadWith(flagKey, c.stored);
            const bool flag = flagKey == key::kParameter ? options.Parameter : options.Formatierung;
            EXPECT_EQ(flag, c.expected) << flagKey << "=" << c.stored.value_or("<missing>");
        }
    }
}

TEST(LoadOptions, StartChangesOnlyForAValidValue) {
    const struct {
        std::int16_t before;
        Stored stored;
        std::int16_t expected;
    } cases[] = {
        {0, "1", 1},          {0, "2", 2},  {0, "3", 3},          {0, "0", 0},  {0, "4", 0},
        {0, " 1", 0},         {0, "01", 0}, {0, std::nullopt, 0}, {2, "x", 2},  {2, "", 2},
        {2, std::nullopt, 2}, {3, "1", 1},  {1, "-1", 1},         {2, "2 ", 2},
    };
    for (const auto& c : cases) {
        AppOptions before;
        before.Start = c.before;
        EXPECT_EQ(LoadWith(key::kStart, c.stored, before).Start, c.expected)
            << "before " << c.before << ", stored " << c.stored.value_or("<missing>");
    }
}

TEST(LoadOptions, TextsAreTakenExactly) {
    for (const std::string text : {" C:\\Daten\\Kunden.mdb ", "\tProz\r\n", "ü€😀", ""}) {
        for (const auto textKey : {key::kDatabase, key::kProcedure, key::kShell}) {
            const AppOptions options = LoadWith(textKey, text);
            const std::string& loaded = textKey == key::kDatabase    ? options.Database
                                        : textKey == key::kProcedure ? options.Procedure
                                                                     : options.Shell;
            EXPECT_EQ(loaded, text) << textKey;
        }
    }
}

TEST(LoadOptions, EveryCallRereadsTheStoreAndOverwritesAllButStart) {
    FakeSettingsStore store;
    store.set(key::kDoJob, "0");
    store.set(key::kShell, "alt");
    store.set(key::kStart, "2");
    store.set(key::kParameter, "1");
    AppOptions options;
    LoadOptions(store, options);
    ASSERT_EQ(options.Start, 2);

    store.erase(key::kDoJob);
    store.erase(key::kShell);
    store.set(key::kStart, "x");
    store.erase(key::kParameter);
    LoadOptions(store, options);
    EXPECT_EQ(options, (AppOptions{.DoJob = true, .Start = 2}));
}

TEST(LoadOptions, ReadsOnlyItsOwnApplicationAndSection) {
    FakeSettingsStore store;
    store.values[{"Klingelwart", "Andere", "Shell"}] = "falsch";
    store.values[{"Anderes", "Options", "Shell"}] = "falsch";
    AppOptions options;
    LoadOptions(store, options);
    EXPECT_EQ(options.Shell, "");
}

TEST(WriteOption, WritesUnderTheProgramsSectionAndReportsFailure) {
    FakeSettingsStore store;
    ASSERT_FALSE(WriteOption(store, key::kShell, " a "));
    EXPECT_EQ(store.read("Klingelwart", "Options", "Shell"), " a ");

    store.failWrites = Failure{70, "Zugriff verweigert"};
    EXPECT_EQ(WriteOption(store, key::kShell, "b"), store.failWrites);
    EXPECT_EQ(store.read("Klingelwart", "Options", "Shell"), " a ");
}

}  // namespace
}  // namespace kw
