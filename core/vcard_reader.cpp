#include "core/vcard_reader.h"

#include <cstddef>
#include <string>
#include <vector>

#include "core/ascii.h"
#include "core/book_text.h"
#include "core/utf8.h"

namespace kw {

namespace {

// One content line, unfolded: "[group.]NAME;PARAM=…:value".
struct ContentLine {
    std::string_view name;
    std::string_view params;  // ";…" as written, possibly empty
    std::string value;
};

std::string DecodeQuotedPrintable(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
            HexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            i += 2;
        } else if (text[i] == '=' && i + 1 == text.size()) {
            break;  // a soft line break left at the end
        } else {
            out += text[i];
        }
    }
    return out;
}

// The value of parameter `key` ("CHARSET"), or, for `key` "ENCODING", also a bare 2.1 word.
std::string_view Param(std::string_view params, std::string_view key) {
    std::size_t at = 0;
    while (at < params.size()) {
        std::size_t end = params.find(';', at + 1);
        if (end == std::string_view::npos) {
            end = params.size();
        }
        std::string_view param = params.substr(at + 1, end - at - 1);
        at = end;
        const std::size_t equals = param.find('=');
        if (equals == std::string_view::npos) {
            if (EqualsNoCase(key, "ENCODING") && EqualsNoCase(param, "QUOTED-PRINTABLE")) {
                return param;
            }
            continue;
        }
        if (EqualsNoCase(param.substr(0, equals), key)) {
            std::string_view value = param.substr(equals + 1);
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
                value = value.substr(1, value.size() - 2);
            }
            return value;
        }
    }
    return {};
}

bool IsQuotedPrintable(std::string_view params) {
    return EqualsNoCase(Param(params, "ENCODING"), "QUOTED-PRINTABLE");
}

// Where the value starts: the first ":" outside a quoted parameter value.
std::size_t ValueColon(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ':' && !quoted) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Splits text at unescaped `separator` and undoes the 3.0/4.0 backslash escapes.
std::vector<std::string> SplitEscaped(std::string_view text, char separator) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            parts.back() += next == 'n' || next == 'N' ? ' ' : next;
        } else if (text[i] == separator) {
            parts.emplace_back();
        } else {
            parts.back() += text[i];
        }
    }
    return parts;
}

class CardReader {
  public:
    explicit CardReader(std::string_view bytes) : bytes_(bytes) {}

    BookReading read() {
        while (!book_.full() && at_ < bytes_.size()) {
            const std::string line = nextLine();
            handle(line);
        }
        finishCard();  // a last card without END still counts
        return book_.take();
    }

  private:
    std::string_view physicalLine() {
        std::size_t end = bytes_.find('\n', at_);
        if (end == std::string_view::npos) {
            end = bytes_.size();
        }
        std::string_view line = bytes_.substr(at_, end - at_);
        at_ = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return line;
    }

    // A logical line: folded continuations joined, and soft breaks of quoted-printable too.
    std::string nextLine() {
        std::string line(physicalLine());
        while (at_ < bytes_.size()) {
            const char next = bytes_[at_];
            if (next == ' ' || next == '\t') {
                line += physicalLine().substr(1);
            } else if (!line.empty() && line.back() == '=' && QuotedPrintableLine(line)) {
                line.pop_back();
                line += physicalLine();
            } else {
                break;
            }
        }
        return line;
    }

    static bool QuotedPrintableLine(std::string_view line) {
        const std::size_t colon = ValueColon(line);
        return colon != std::string_view::npos && IsQuotedPrintable(line.substr(0, colon));
    }

    void handle(std::string_view line) {
        const std::size_t colon = ValueColon(line);
        if (colon == std::string_view::npos) {
            return;
        }
        std::string_view head = line.substr(0, colon);
        const std::size_t semicolon = head.find(';');
        std::string_view name = head.substr(0, semicolon);
        const std::string_view params =
            semicolon == std::string_view::npos ? std::string_view() : head.substr(semicolon);
        if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
            name = name.substr(dot + 1);  // "item1.TEL"
        }
        const std::string value = decode(line.substr(colon + 1), params);

        if (EqualsNoCase(name, "BEGIN") && EqualsNoCase(TrimBlanks(value), "VCARD")) {
            finishCard();
            inCard_ = true;
        } else if (!inCard_) {
            return;
        } else if (EqualsNoCase(name, "END") && EqualsNoCase(TrimBlanks(value), "VCARD")) {
            finishCard();
        } else if (EqualsNoCase(name, "VERSION")) {
            version21_ = TrimBlanks(value) == "2.1";
        } else if (EqualsNoCase(name, "FN")) {
            fullName_ = Joined(SplitEscaped(value, '\0'), "");
        } else if (EqualsNoCase(name, "N")) {
            const std::vector<std::string> parts = SplitEscaped(value, ';');
            // Family;Given;Additional;Prefix;Suffix, shown as "Given Additional Family".
            std::vector<std::string> shown;
            for (const std::size_t index :
                 {std::size_t{3}, std::size_t{1}, std::size_t{2}, std::size_t{0}, std::size_t{4}}) {
                if (index < parts.size()) {
                    shown.push_back(parts[index]);
                }
            }
            structuredName_ = Joined(shown, " ");
        } else if (EqualsNoCase(name, "ORG")) {
            organisation_ = Joined(SplitEscaped(value, ';'), " ");
        } else if (EqualsNoCase(name, "TEL")) {
            std::string_view number = TrimBlanks(value);
            if (StartsWithNoCase(number, "tel:")) {
                number.remove_prefix(4);
            }
            book_.add({}, number);  // named when the card ends: FN may come later
        }
    }

    // The value as UTF-8 text.
    std::string decode(std::string_view raw, std::string_view params) const {
        std::string value =
            IsQuotedPrintable(params) ? DecodeQuotedPrintable(raw) : std::string(raw);
        const std::string_view charset = Param(params, "CHARSET");
        if (EqualsNoCase(charset, "ISO-8859-1") || EqualsNoCase(charset, "LATIN1")) {
            return Latin1ToUtf8(value);
        }
        if (EqualsNoCase(charset, "WINDOWS-1252") || EqualsNoCase(charset, "CP1252") ||
            (charset.empty() && version21_ && !IsValidUtf8(value))) {
            return Windows1252ToUtf8(value);
        }
        return value;
    }

    static std::string Joined(const std::vector<std::string>& parts, std::string_view gap) {
        std::string joined;
        for (const std::string& part : parts) {
            const std::string_view trimmed = TrimBlanks(part);
            if (trimmed.empty()) {
                continue;
            }
            if (!joined.empty()) {
                joined += gap;
            }
            joined += trimmed;
        }
        return joined;
    }

    void finishCard() {
        const std::string& name = !TrimBlanks(fullName_).empty()         ? fullName_
                                  : !TrimBlanks(structuredName_).empty() ? structuredName_
                                                                         : organisation_;
        book_.nameFrom(cardStart_, name);
        cardStart_ = book_.size();
        fullName_.clear();
        structuredName_.clear();
        organisation_.clear();
        inCard_ = false;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
    BookCollector book_;
    bool inCard_ = false;
    bool version21_ = false;
    std::string fullName_;
    std::string structuredName_;
    std::string organisation_;
    std::size_t cardStart_ = 0;  // the card's first entry
};

}  // namespace

BookReading ReadVCards(std::string_view bytes) {
    if (auto reason = BookTooLarge(bytes)) {
        return BookError(std::move(*reason));
    }
    bytes = WithoutByteOrderMark(bytes);
    return CardReader(bytes).read();
}

}  // namespace kw
