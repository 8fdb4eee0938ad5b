#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <tuple>

#include "core/phone_book_options.h"
#include "tests/fuzz/fuzz_require.h"

namespace {

using namespace kw;

class MapStore final : public platform::SettingsStore {
  public:
    std::string read(std::string_view, std::string_view section, std::string_view key) override {
        const auto found = values.find({std::string(section), std::string(key)});
        return found == values.end() ? std::string() : found->second;
    }
    MaybeFailure writeAll(std::string_view, std::string_view section,
                          std::span<const platform::SettingsValue> written) override {
        for (const platform::SettingsValue& value : written) {
            values[{std::string(section), std::string(value.key)}] = value.value;
        }
        return std::nullopt;
    }
    std::map<std::tuple<std::string, std::string>, std::string> values;
};

}  // namespace

// Whatever the section holds, what is read is well formed and reads back the same once written.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    MapStore store;
    const char* keys[] = {"Datei1",      "Datei2",  "Datei3",         "Landesvorwahl",
                          "Ortsvorwahl", "CardDAV", "CardDAVBenutzer"};
    while (input.remaining_bytes() > 0) {
        const std::string key = keys[input.ConsumeIntegralInRange<std::size_t>(0, 6)];
        store.values[{"Telefonbuch", key}] = input.ConsumeRandomLengthString(32);
    }
    const PhoneBookOptions loaded = LoadPhoneBookOptions(store);
    KW_FUZZ_REQUIRE(AllDigits(loaded.Landesvorwahl, 3));
    KW_FUZZ_REQUIRE(loaded.Ortsvorwahl.empty() || AllDigits(loaded.Ortsvorwahl, 10));
    for (const std::string& file : loaded.Dateien) {
        KW_FUZZ_REQUIRE(!file.empty());
    }
    KW_FUZZ_REQUIRE(!WritePhoneBookOptions(store, loaded));
    KW_FUZZ_REQUIRE(LoadPhoneBookOptions(store) == loaded);
    return 0;
}
