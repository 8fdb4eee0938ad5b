#include "core/phone_book_options.h"

#include <utility>

#include "core/app_options.h"

namespace kw {

namespace {

std::string Read(platform::SettingsStore& store, std::string_view key) {
    return store.read(kApplicationName, kPhoneBookSection, key);
}

std::string FileKey(std::size_t index) {
    return std::string(book_key::kDateiPrefix) + std::to_string(index + 1);
}

// A longer list than anyone keeps; it only bounds the read of a damaged store.
constexpr std::size_t kMaxFiles = 1000;

}  // namespace

bool AllDigits(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

PhoneBookOptions LoadPhoneBookOptions(platform::SettingsStore& store) {
    PhoneBookOptions options;
    for (std::size_t i = 0; i < kMaxFiles; ++i) {
        std::string file = Read(store, FileKey(i));
        if (file.empty()) {
            break;
        }
        options.Dateien.push_back(std::move(file));
    }
    if (std::string country = Read(store, book_key::kLandesvorwahl); AllDigits(country, 3)) {
        options.Landesvorwahl = std::move(country);
    }
    if (std::string area = Read(store, book_key::kOrtsvorwahl); AllDigits(area, 10)) {
        options.Ortsvorwahl = std::move(area);
    }
    options.CardDAV = Read(store, book_key::kCardDAV);
    options.CardDAVBenutzer = Read(store, book_key::kCardDAVBenutzer);
    return options;
}

MaybeFailure WritePhoneBookOptions(platform::SettingsStore& store,
                                   const PhoneBookOptions& options) {
    auto write = [&store](std::string_view key, std::string_view value) {
        return store.write(kApplicationName, kPhoneBookSection, key, value);
    };
    // The stale keys go first: a write that fails halfway then leaves a shorter list, never one
    // that reads back files the user removed.
    for (std::size_t i = options.Dateien.size(); i < kMaxFiles; ++i) {
        const std::string key = FileKey(i);
        if (Read(store, key).empty()) {
            break;
        }
        if (MaybeFailure failure = write(key, "")) {
            return failure;
        }
    }
    for (std::size_t i = 0; i < options.Dateien.size(); ++i) {
        if (MaybeFailure failure = write(FileKey(i), options.Dateien[i])) {
            return failure;
        }
    }
    const std::pair<std::string_view, std::string_view> values[] = {
        {book_key::kLandesvorwahl, options.Landesvorwahl},
        {book_key::kOrtsvorwahl, options.Ortsvorwahl},
        {book_key::kCardDAV, options.CardDAV},
        {book_key::kCardDAVBenutzer, options.CardDAVBenutzer},
    };
    for (const auto& [key, value] : values) {
        if (MaybeFailure failure = write(key, value)) {
            return failure;
        }
    }
    return std::nullopt;
}

}  // namespace kw
