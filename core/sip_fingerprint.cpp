#include "core/sip_fingerprint.h"

#include <vector>

#include "core/ascii.h"

namespace kw {

namespace {

constexpr std::size_t kSha256Bytes = 32;

}  // namespace

std::string FormatSipFingerprint(std::span<const std::uint8_t> digest) {
    std::string text;
    for (const std::uint8_t byte : digest) {
        if (!text.empty()) {
            text += ':';
        }
        AppendHex(text, byte);
    }
    return text;
}

std::optional<std::string> ParseSipFingerprint(std::string_view text) {
    std::vector<std::uint8_t> digest;
    int high = -1;
    for (const char c : text) {
        const int digit = HexDigitValue(c);
        if (digit >= 0) {
            if (high < 0) {
                high = digit;
            } else {
                digest.push_back(static_cast<std::uint8_t>(high * 16 + digit));
                high = -1;
            }
        } else if ((c != ':' && c != ' ') || high >= 0) {
            return std::nullopt;  // a separator inside a pair, or no hex digit at all
        }
    }
    if (high >= 0 || digest.size() != kSha256Bytes) {
        return std::nullopt;
    }
    return FormatSipFingerprint(digest);
}

}  // namespace kw
