#include "core/app_options.h"

namespace kw {

namespace {

std::string Read(platform::SettingsStore& store, std::string_view key) {
    return store.read(kApplicationName, kOptionsSection, key);
}

}  // namespace

void LoadOptions(platform::SettingsStore& store, AppOptions& options) {
    options.Database = Read(store, key::kDatabase);
    options.Procedure = Read(store, key::kProcedure);
    options.Shell = Read(store, key::kShell);
    options.Parameter = Read(store, key::kParameter) == "1";
    const std::string start = Read(store, key::kStart);
    if (start == "1") {
        options.Start = 1;
    } else if (start == "2") {
        options.Start = 2;
    } else if (start == "3") {
        options.Start = 3;
    }
    options.Formatierung = Read(store, key::kFormatierung) == "1";
    options.DoJob = Read(store, key::kDoJob) != "0";
}

MaybeFailure WriteOption(platform::SettingsStore& store, std::string_view key,
                         std::string_view value) {
    return store.write(kApplicationName, kOptionsSection, key, value);
}

MaybeFailure WriteOptions(platform::SettingsStore& store,
                          std::span<const platform::SettingsValue> values) {
    return store.writeAll(kApplicationName, kOptionsSection, values);
}

}  // namespace kw
