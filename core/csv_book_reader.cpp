#include "core/csv_book_reader.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/book_text.h"
#include "core/utf8.h"

namespace kw {

namespace {

// What a column holds; the order is the order in which name parts are joined.
enum class Column { Other, First, Middle, Last, Display, Company, Phone };

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
    }
    return lower;
}

Column ColumnOf(std::string_view header) {
    const std::string h = LowerAscii(TrimBlanks(header));
    const auto any = [&h](std::initializer_list<std::string_view> names) {
        for (const std::string_view name : names) {
            if (h == name) {
                return true;
            }
        }
        return false;
    };
    if (any({"name", "display name", "anzeigename", "full name", "vollständiger name"})) {
        return Column::Display;
    }
    if (any({"vorname", "first name", "given name"})) {
        return Column::First;
    }
    if (any({"weitere vornamen", "middle name", "additional name"})) {
        return Column::Middle;
    }
    if (any({"nachname", "last name", "family name", "surname"})) {
        return Column::Last;
    }
    if (any({"firma", "company", "organization 1 - name", "organisation"})) {
        return Column::Company;
    }
    // Google names a number's kind in "Phone 1 - Type" beside its "Phone 1 - Value".
    if (h.find("type") != std::string::npos || h.find("label") != std::string::npos ||
        h.find("typ") != std::string::npos) {
        return Column::Other;
    }
    for (const std::string_view word :
         {"phone", "telefon", "tel.", "mobil", "handy", "fax", "pager", "isdn", "funkruf"}) {
        if (h.find(word) != std::string::npos) {
            return Column::Phone;
        }
    }
    return Column::Other;
}

// Exports have about a hundred columns; beyond this many a record's fields are dropped, so that
// a line of separators cannot make millions of empty fields.
constexpr std::size_t kMaxColumns = 1024;

// Splits CSV records one at a time; quoted fields may hold separators, "" and line breaks.
class CsvRecords {
  public:
    CsvRecords(std::string_view text, char separator) : text_(text), separator_(separator) {}

    bool next(std::vector<std::string>& fields) {
        fields.clear();
        if (at_ >= text_.size()) {
            return false;
        }
        fields.emplace_back();
        std::string dropped;  // what falls beyond kMaxColumns
        std::string* field = &fields.back();
        bool quoted = false;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (quoted) {
                if (c != '"') {
                    *field += c;
                } else if (at_ < text_.size() && text_[at_] == '"') {
                    *field += '"';
                    ++at_;
                } else {
                    quoted = false;
                }
            } else if (c == '"') {
                quoted = true;
            } else if (c == separator_) {
                if (fields.size() < kMaxColumns) {
                    field = &fields.emplace_back();
                } else {
                    dropped.clear();
                    field = &dropped;
                }
            } else if (c == '\n') {
                break;
            } else if (c != '\r') {
                *field += c;
            }
        }
        return true;
    }

  private:
    std::string_view text_;
    char separator_;
    std::size_t at_ = 0;
};

char SeparatorOf(std::string_view text) {
    const std::string_view header = text.substr(0, text.find('\n'));
    std::array<std::size_t, 3> counts{};
    constexpr std::array<char, 3> kSeparators{',', ';', '\t'};
    bool quoted = false;
    for (const char c : header) {
        quoted = c == '"' ? !quoted : quoted;
        for (std::size_t i = 0; i < kSeparators.size() && !quoted; ++i) {
            counts[i] += c == kSeparators[i] ? 1 : 0;
        }
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < counts.size(); ++i) {
        best = counts[i] > counts[best] ? i : best;
    }
    return kSeparators[best];
}

std::string NameOf(const std::vector<Column>& columns, const std::vector<std::string>& fields) {
    std::array<std::string, 7> parts;
    for (std::size_t i = 0; i < fields.size() && i < columns.size(); ++i) {
        std::string& part = parts[static_cast<std::size_t>(columns[i])];
        const std::string_view field = TrimBlanks(fields[i]);
        if (part.empty() && !field.empty() && columns[i] != Column::Phone) {
            part = field;
        }
    }
    if (!parts[static_cast<std::size_t>(Column::Display)].empty()) {
        return parts[static_cast<std::size_t>(Column::Display)];
    }
    std::string joined;
    for (const Column part : {Column::First, Column::Middle, Column::Last}) {
        const std::string& text = parts[static_cast<std::size_t>(part)];
        if (!text.empty()) {
            joined += joined.empty() ? "" : " ";
            joined += text;
        }
    }
    return joined.empty() ? parts[static_cast<std::size_t>(Column::Company)] : joined;
}

}  // namespace

BookReading ReadCsvBook(std::string_view bytes) {
    if (auto reason = BookTooLarge(bytes)) {
        return BookError(std::move(*reason));
    }
    std::string converted;
    if (auto wide = Utf16WithMarkToUtf8(bytes)) {
        converted = std::move(*wide);
        bytes = converted;
    }
    bytes = WithoutByteOrderMark(bytes);
    if (!IsValidUtf8(bytes)) {
        converted = Windows1252ToUtf8(bytes);
        bytes = converted;
    }
    CsvRecords records(bytes, SeparatorOf(bytes));
    std::vector<std::string> fields;
    std::vector<Column> columns;
    if (records.next(fields)) {
        for (const std::string& header : fields) {
            columns.push_back(ColumnOf(header));
        }
    }
    bool anyPhone = false;
    for (const Column column : columns) {
        anyPhone = anyPhone || column == Column::Phone;
    }
    if (!anyPhone) {
        return BookError("Die CSV-Datei hat keine Spalte mit Telefonnummern.");
    }

    BookCollector book;
    while (!book.full() && records.next(fields)) {
        const std::string name = NameOf(columns, fields);
        for (std::size_t i = 0; i < fields.size() && i < columns.size(); ++i) {
            if (columns[i] != Column::Phone) {
                continue;
            }
            std::string_view cell = fields[i];
            while (!cell.empty()) {
                const std::size_t gap = cell.find(":::");
                book.add(name, cell.substr(0, gap));
                cell = gap == std::string_view::npos ? std::string_view() : cell.substr(gap + 3);
            }
        }
    }
    return book.take();
}

}  // namespace kw
