#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/book_entry.h"

namespace kw {

// What a reader takes from a book: larger books and more numbers are refused whole, longer
// names are cut, longer numbers dropped (no real number is that long).
inline constexpr std::size_t kMaxBookBytes = 64u * 1024u * 1024u;
inline constexpr std::size_t kMaxBookNumbers = 200'000;
inline constexpr std::size_t kMaxNameBytes = 200;
inline constexpr std::size_t kMaxBookNumberBytes = 64;

// The German reason for refusing a book this large, or nothing when its size is fine.
std::optional<std::string> BookTooLarge(std::string_view bytes);

// Text from a book made fit to keep: invalid UTF-8 replaced by U+FFFD, NUL dropped, blanks at
// both ends removed, cut after kMaxNameBytes at a character boundary.
std::string BookText(std::string_view text);

// ISO-8859-1 and Windows-1252 text as UTF-8.
std::string Latin1ToUtf8(std::string_view text);
std::string Windows1252ToUtf8(std::string_view text);

// Collects the entries of one book within the bounds above.
class BookCollector {
  public:
    // Adds the number under the name, unless the number is blank or too long. False once the
    // book has too many numbers; the reading then carries the reason.
    bool add(std::string_view name, std::string_view number);

    // Names the entries from `first` on, which were added without one.
    void nameFrom(std::size_t first, std::string_view name);

    std::size_t size() const { return reading_.entries.size(); }
    bool full() const { return !reading_.error.empty(); }
    BookReading take() { return std::move(reading_); }

  private:
    BookReading reading_;
};

// A reading that failed for `reason`.
BookReading BookError(std::string reason);

// UTF-16 text that starts with its byte order mark (as Excel's and Outlook's "Unicode" exports
// do) as UTF-8, the mark dropped and unpaired surrogates replaced by U+FFFD; absent for any
// other text.
std::optional<std::string> Utf16WithMarkToUtf8(std::string_view text);

// The text without a UTF-8 byte order mark at its start.
std::string_view WithoutByteOrderMark(std::string_view text);

bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
std::string_view TrimBlanks(std::string_view text);

}  // namespace kw
