#include "core/book_file.h"

#include "core/book_text.h"
#include "core/carddav_reader.h"
#include "core/csv_book_reader.h"
#include "core/router_book_reader.h"
#include "core/vcard_reader.h"

namespace kw {

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

BookReading ReadXmlBook(std::string_view bytes) {
    // Only the start is looked at: the root element comes first.
    if (bytes.substr(0, 4096).find("multistatus") != std::string_view::npos) {
        return ReadCardDavResponse(bytes);
    }
    return ReadRouterBook(bytes);
}

}  // namespace

BookReading ReadBookFile(std::string_view fileName, std::string_view bytes) {
    if (auto reason = BookTooLarge(bytes)) {
        return BookError(std::move(*reason));
    }
    if (EndsWithNoCase(fileName, ".vcf") || EndsWithNoCase(fileName, ".vcard")) {
        return ReadVCards(bytes);
    }
    if (EndsWithNoCase(fileName, ".csv")) {
        return ReadCsvBook(bytes);
    }
    if (EndsWithNoCase(fileName, ".xml")) {
        return ReadXmlBook(bytes);
    }
    std::string_view start = bytes;
    start = WithoutByteOrderMark(start);
    start = TrimBlanks(start.substr(0, 4096));
    if (StartsWithNoCase(start, "BEGIN:VCARD")) {
        return ReadVCards(bytes);
    }
    if (start.starts_with('<')) {
        return ReadXmlBook(bytes);
    }
    return ReadCsvBook(bytes);
}

}  // namespace kw
