#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kw {

// Where the user's own telephone sits; numbers written without country or area code are read
// from there.
struct NumberHome {
    std::string countryCode = "49";  // digits, without "+" or "00"
    std::string areaCode;            // digits, a leading "0" is ignored; may be empty
};

// Longest number text looked at; anything longer is no number, so that work stays bounded.
inline constexpr std::size_t kMaxNumberText = 64;

// The one form in which stored and incoming numbers are compared.
//
// "+49 (30) 123 45-67", "0049 30 1234567", "030/1234567", "tel:+49-30-1234567" and, with area
// code 30, "1234567" all give "+49301234567". A "(0)" after the country code is dropped. A
// number without area code while the user gave none stays bare digits ("1234567"), which only
// equals itself. Blanks, "-", "/", ".", "(" and ")" separate; surrounding blanks are ignored.
// No number (empty result): empty or withheld callers, any letter (vanity numbers, "anonymous",
// "unbekannt"), "*" and "#" service codes, a "+" inside, more than 15 digits or fewer than 2,
// or text longer than kMaxNumberText.
std::string CanonicalNumber(std::string_view text, const NumberHome& home);

// For a number written as a company line with extensions, "030 12345-0" or "030 12345-": the
// canonical digits of the line ("+493012345"), which every extension starts with. Otherwise
// nothing.
std::optional<std::string> CompanyLine(std::string_view text, const NumberHome& home);

}  // namespace kw
