#pragma once

#include <string_view>

#include "core/book_entry.h"
#include "core/book_text.h"
#include "core/phone_number.h"
#include "core/utf8.h"
#include "tests/fuzz/fuzz_require.h"

namespace kw {

inline void RequireKeepableText(std::string_view text, std::size_t bound) {
    KW_FUZZ_REQUIRE(text.size() <= bound);
    KW_FUZZ_REQUIRE(IsValidUtf8(text));
    KW_FUZZ_REQUIRE(text.find('\0') == std::string_view::npos);
}

// What every reader promises of a book, however hostile: a refusal holds no entries, every
// entry has a number, and all text is bounded UTF-8 without NUL. The matching rule is stable on
// what it makes of each number.
inline void RequireSoundReading(const BookReading& reading) {
    KW_FUZZ_REQUIRE(reading.error.empty() || reading.entries.empty());
    KW_FUZZ_REQUIRE(reading.entries.size() <= kMaxBookNumbers);
    for (const BookEntry& entry : reading.entries) {
        KW_FUZZ_REQUIRE(!entry.number.empty());
        RequireKeepableText(entry.number, kMaxBookNumberBytes);
        RequireKeepableText(entry.name, kMaxNameBytes);
        const NumberHome home{"49", "30"};
        const std::string canonical = CanonicalNumber(entry.number, home);
        KW_FUZZ_REQUIRE(canonical.size() <= 16);
        KW_FUZZ_REQUIRE(canonical.empty() || CanonicalNumber(canonical, home) == canonical);
    }
}

}  // namespace kw
