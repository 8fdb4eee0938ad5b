#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace kw {

// Character classes of protocol text. Unlike <cctype> they do not follow the locale: under a
// Latin-1 locale "\xE4" counts as a letter there, under a Turkish one 'I' lowers to a dotless i.

constexpr bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool SameAsciiLetters(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// 0 to 15 for a hex digit in either case, -1 for anything else.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Two upper-case hex digits.
inline void AppendHex(std::string& text, unsigned char byte) {
    static constexpr std::string_view kDigits = "0123456789ABCDEF";
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
}

}  // namespace kw
