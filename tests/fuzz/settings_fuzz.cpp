#include <stdlib.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "core/app_options.h"
#include "platform/qt/ini_settings_store.h"
#include "tests/fuzz/fuzz_require.h"

namespace {

namespace fs = std::filesystem;
using namespace kw;

// One private directory for the whole run, removed at exit. In memory where possible: on a disk,
// the store's fsync calls take most of the time.
class Scratch {
  public:
    Scratch() {
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string name = (base / "kw_settings_fuzz_XXXXXX").string();
        KW_FUZZ_REQUIRE(::mkdtemp(name.data()) != nullptr);
        path_ = name;
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    // An empty directory for the next input.
    const fs::path& fresh() {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(path_, ec)) {
            fs::remove_all(entry.path(), ec);
        }
        return path_;
    }

  private:
    fs::path path_;
};

constexpr std::array kKeys = {key::kDoJob,     key::kDatabase, key::kProcedure,   key::kShell,
                              key::kParameter, key::kStart,    key::kFormatierung};

std::array<std::string, kKeys.size()> ReadAll(platform::SettingsStore& store) {
    std::array<std::string, kKeys.size()> values;
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        values[i] = store.read(kApplicationName, kOptionsSection, kKeys[i]);
    }
    return values;
}

// The options' rules, applied to the texts the store reads.
void RequireDecoded(const AppOptions& options, std::int16_t startBefore,
                    platform::SettingsStore& store) {
    const auto value = [&](std::string_view key) {
        return store.read(kApplicationName, kOptionsSection, key);
    };
    KW_FUZZ_REQUIRE(options.DoJob == (value(key::kDoJob) != "0"));
    KW_FUZZ_REQUIRE(options.Formatierung == (value(key::kFormatierung) == "1"));
    KW_FUZZ_REQUIRE(options.Parameter == (value(key::kParameter) == "1"));
    KW_FUZZ_REQUIRE(options.Database == value(key::kDatabase));
    KW_FUZZ_REQUIRE(options.Procedure == value(key::kProcedure));
    KW_FUZZ_REQUIRE(options.Shell == value(key::kShell));
    const std::string start = value(key::kStart);
    if (start == "1" || start == "2" || start == "3") {
        KW_FUZZ_REQUIRE(options.Start == start[0] - '0');
    } else {
        KW_FUZZ_REQUIRE(options.Start == startBefore);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Scratch scratch;
    const fs::path file = scratch.fresh() / "Klingelwart.conf";
    {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        KW_FUZZ_REQUIRE(out.good());
    }

    qt::IniSettingsStore store(std::string(kApplicationName), file);
    AppOptions options;
    options.Start = 2;
    LoadOptions(store, options);
    RequireDecoded(options, 2, store);

    // A second store on the same bytes reads the same; nothing lingers from the first parse.
    qt::IniSettingsStore again(std::string(kApplicationName), file);
    const auto before = ReadAll(again);
    KW_FUZZ_REQUIRE(before == ReadAll(store));

    // Writing one option keeps every other as it was read, unless the file was damaged and kept
    // as a backup; the written text reads back exactly.
    const std::string written = before[3] + "\n=[x];\"";
    KW_FUZZ_REQUIRE(!WriteOption(store, key::kDatabase, written));
    auto after = ReadAll(store);
    KW_FUZZ_REQUIRE(after[1] == written);
    if (!fs::exists(store.backupPath())) {
        after[1] = before[1];
        KW_FUZZ_REQUIRE(after == before);
    }
    return 0;
}
