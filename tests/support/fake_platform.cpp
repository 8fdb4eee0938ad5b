#include "tests/support/fake_platform.h"

#include "core/app_options.h"

namespace kw::test {

std::string FakeSettingsStore::read(std::string_view application, std::string_view section,
                                    std::string_view key) {
    const auto found =
        values.find(Address{std::string(application), std::string(section), std::string(key)});
    return found == values.end() ? std::string() : found->second;
}

MaybeFailure FakeSettingsStore::writeAll(std::string_view application, std::string_view section,
                                         std::span<const platform::SettingsValue> batch) {
    if (failWrites) {
        return failWrites;
    }
    if (failAtKey > writtenKeys.size() && failAtKey <= writtenKeys.size() + batch.size()) {
        return Failure{75, "Schreibfehler mittendrin"};
    }
    for (const platform::SettingsValue& entry : batch) {
        values[Address{std::string(application), std::string(section), std::string(entry.key)}] =
            entry.value;
        writtenKeys.emplace_back(entry.key);
    }
    ++batches;
    return std::nullopt;
}

void FakeSettingsStore::set(std::string_view key, std::string_view value) {
    values[Address{std::string(kApplicationName), std::string(kOptionsSection), std::string(key)}] =
        value;
}

void FakeSettingsStore::erase(std::string_view key) {
    values.erase(
        Address{std::string(kApplicationName), std::string(kOptionsSection), std::string(key)});
}

void FakeLauncher::openAddress(const FilledCommand& command) {
    opened.push_back(command);
}

MaybeFailure FakeLauncher::startProgram(const FilledCommand& command) {
    started.push_back(command);
    return startFailure;
}

platform::MessageAnswer FakeMessageBox::show(std::string_view text, std::string_view title,
                                             platform::MessageIcon icon,
                                             platform::MessageButtons buttons) {
    shown.push_back(ShownMessage{std::string(text), std::string(title), icon, buttons});
    return answer;
}

}  // namespace kw::test
