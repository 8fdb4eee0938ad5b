#include "core/book_text.h"

#include "core/utf8.h"

namespace kw {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Windows-1252 in 0x80..0x9F; the five holes stay as they are in ISO-8859-1.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

}  // namespace

std::optional<std::string> BookTooLarge(std::string_view bytes) {
    if (bytes.size() > kMaxBookBytes) {
        return "Das Telefonbuch ist größer als 64 MiB und wird nicht gelesen.";
    }
    return std::nullopt;
}

std::string BookText(std::string_view text) {
    std::string kept;
    // Four bytes a character at most, so nothing beyond this can be kept.
    text = TrimBlanks(text).substr(0, 4 * kMaxNameBytes);
    for (const char32_t c : DecodeUtf8(text)) {
        if (c == 0) {
            continue;
        }
        std::string one;
        AppendUtf8(one, c);
        if (kept.size() + one.size() > kMaxNameBytes) {
            break;
        }
        kept += one;
    }
    return std::string(TrimBlanks(kept));
}

std::string Latin1ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        AppendUtf8(out, static_cast<unsigned char>(c));
    }
    return out;
}

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(out, byte >= 0x80 && byte <= 0x9F ? kWindows1252High[byte - 0x80] : byte);
    }
    return out;
}

bool BookCollector::add(std::string_view name, std::string_view number) {
    if (full()) {
        return false;
    }
    number = TrimBlanks(number);
    if (number.empty() || number.size() > kMaxBookNumberBytes) {
        return true;
    }
    if (reading_.entries.size() >= kMaxBookNumbers) {
        reading_.entries.clear();
        reading_.entries.shrink_to_fit();
        reading_.error = "Das Telefonbuch enthält mehr als 200000 Nummern und wird nicht gelesen.";
        return false;
    }
    // Checked again once clean: each invalid byte grows to three.
    std::string cleanNumber = BookText(number);
    if (!cleanNumber.empty() && cleanNumber.size() <= kMaxBookNumberBytes) {
        reading_.entries.push_back(BookEntry{BookText(name), std::move(cleanNumber)});
    }
    return true;
}

void BookCollector::nameFrom(std::size_t first, std::string_view name) {
    if (first >= reading_.entries.size()) {
        return;
    }
    const std::string clean = BookText(name);
    for (std::size_t i = first; i < reading_.entries.size(); ++i) {
        reading_.entries[i].name = clean;
    }
}

BookReading BookError(std::string reason) {
    BookReading reading;
    reading.error = std::move(reason);
    return reading;
}

std::optional<std::string> Utf16WithMarkToUtf8(std::string_view text) {
    const bool little = text.starts_with("\xFF\xFE");
    if (!little && !text.starts_with("\xFE\xFF")) {
        return std::nullopt;
    }
    const auto unit = [&](std::size_t at) -> char32_t {
        const auto first = static_cast<unsigned char>(text[at]);
        const auto second = static_cast<unsigned char>(text[at + 1]);
        return little ? first | (second << 8) : (first << 8) | second;
    };
    std::string utf8;
    utf8.reserve(text.size());
    for (std::size_t at = 2; at + 1 < text.size(); at += 2) {
        char32_t c = unit(at);
        if (c >= 0xD800 && c <= 0xDBFF && at + 3 < text.size() && unit(at + 2) >= 0xDC00 &&
            unit(at + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(utf8, c);
    }
    return utf8;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
    return text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != Lower(prefix[i])) {
            return false;
        }
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace kw
