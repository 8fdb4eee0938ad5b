#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/failure.h"
#include "platform/settings_store.h"

namespace kw {

// Where the caller's names come from: files or folders in the order they are searched, the
// codes that make a local number whole, and one CardDAV address book (its password lives in the
// desktop's password store). A section of its own, like the call sources.
struct PhoneBookOptions {
    std::vector<std::string> Dateien;
    std::string Landesvorwahl = "49";
    std::string Ortsvorwahl;
    std::string CardDAV;
    std::string CardDAVBenutzer;

    friend bool operator==(const PhoneBookOptions&, const PhoneBookOptions&) = default;
};

inline constexpr std::string_view kPhoneBookSection = "Telefonbuch";

namespace book_key {
inline constexpr std::string_view kDateiPrefix = "Datei";  // Datei1, Datei2, ...
inline constexpr std::string_view kLandesvorwahl = "Landesvorwahl";
inline constexpr std::string_view kOrtsvorwahl = "Ortsvorwahl";
inline constexpr std::string_view kCardDAV = "CardDAV";
inline constexpr std::string_view kCardDAVBenutzer = "CardDAVBenutzer";
}  // namespace book_key

// True for one or more ASCII digits and nothing else, at most `maxDigits` of them.
bool AllDigits(std::string_view text, std::size_t maxDigits);

// Reads the section. The files stop at the first missing or empty DateiN; a code that is not
// plain digits reads as its default.
PhoneBookOptions LoadPhoneBookOptions(platform::SettingsStore& store);

// Writes every key; DateiN keys left over from a longer list are emptied, so that the list
// reads back exactly. Stops at the first failure and returns it.
[[nodiscard]] MaybeFailure WritePhoneBookOptions(platform::SettingsStore& store,
                                                 const PhoneBookOptions& options);

}  // namespace kw
