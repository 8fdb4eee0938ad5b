#include "core/phone_book_options.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"

namespace kw {
namespace {

using test::FakeSettingsStore;

void Put(FakeSettingsStore& store, std::string_view key, std::string_view value) {
    store.values[{"Klingelwart", "Telefonbuch", std::string(key)}] = value;
}

TEST(PhoneBookOptions, ReadsWhatIsPlainAndDefaultsTheRest) {
    using Keys = std::vector<std::pair<std::string_view, std::string_view>>;
    const struct {
        Keys stored;
        PhoneBookOptions expected;
    } cases[] = {
        {{}, {}},
        {{{"Datei1", "a.vcf"}, {"Datei2", "/b"}}, {.Dateien = {"a.vcf", "/b"}}},
        // The list ends at its first gap.
        {{{"Datei1", "a"}, {"Datei3", "c"}}, {.Dateien = {"a"}}},
        {{{"Datei1", ""}, {"Datei2", "b"}}, {}},
        {{{"Landesvorwahl", "43"}}, {.Landesvorwahl = "43"}},
        {{{"Landesvorwahl", "+49"}}, {}},
        {{{"Landesvorwahl", "4930"}}, {}},
        {{{"Landesvorwahl", ""}}, {}},
        {{{"Ortsvorwahl", "030"}}, {.Ortsvorwahl = "030"}},
        {{{"Ortsvorwahl", "30 "}}, {}},
        {{{"CardDAV", "https://dav/x/"}, {"CardDAVBenutzer", "u"}},
         {.CardDAV = "https://dav/x/", .CardDAVBenutzer = "u"}},
    };
    for (const auto& c : cases) {
        FakeSettingsStore store;
        for (const auto& [key, value] : c.stored) {
            Put(store, key, value);
        }
        EXPECT_EQ(LoadPhoneBookOptions(store), c.expected) << c.stored.size();
    }
}

TEST(PhoneBookOptions, AShorterListLeavesNoStaleFileBehind) {
    FakeSettingsStore store;
    const PhoneBookOptions longer{.Dateien = {"a", "b", "c"}, .Ortsvorwahl = "89"};
    ASSERT_FALSE(WritePhoneBookOptions(store, longer));
    EXPECT_EQ(LoadPhoneBookOptions(store), longer);
    const PhoneBookOptions shorter{
        .Dateien = {"c"}, .CardDAV = "http://h/", .CardDAVBenutzer = "u"};
    ASSERT_FALSE(WritePhoneBookOptions(store, shorter));
    EXPECT_EQ(LoadPhoneBookOptions(store), shorter);
    for (const auto& [address, value] : store.values) {
        EXPECT_EQ(std::get<1>(address), "Telefonbuch");
    }
    // Appending a file later must not bring an old third file back.
    ASSERT_FALSE(WritePhoneBookOptions(store, {.Dateien = {"c", "d"}}));
    EXPECT_EQ(LoadPhoneBookOptions(store).Dateien, (std::vector<std::string>{"c", "d"}));
}

TEST(PhoneBookOptions, AFailedWriteIsReported) {
    FakeSettingsStore store;
    store.failWrites = Failure{1, "voll"};
    EXPECT_TRUE(WritePhoneBookOptions(store, {.Dateien = {"a"}}));
}

}  // namespace
}  // namespace kw
