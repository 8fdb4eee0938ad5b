#pragma once

#include <string>
#include <string_view>

namespace kw {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code points of `text`. Each invalid sequence, as far as it looked valid, becomes one
// U+FFFD; overlong forms, surrogates and values above U+10FFFF are invalid.
std::u32string DecodeUtf8(std::string_view text);

// True when DecodeUtf8 would find nothing invalid.
bool IsValidUtf8(std::string_view text);

void AppendUtf8(std::string& out, char32_t c);

}  // namespace kw
