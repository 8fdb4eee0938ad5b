#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kw {

// A certificate's SHA-256 as people compare it: "AB:CD:...", 32 pairs.
std::string FormatSipFingerprint(std::span<const std::uint8_t> digest);

// A typed or pasted fingerprint in that form: pairs of hex digits in either case, joined by
// ':', blanks or nothing. Anything else, or not 32 bytes, gives nothing.
std::optional<std::string> ParseSipFingerprint(std::string_view text);

}  // namespace kw
