#include "app/phone_books.h"

#include <memory>
#include <optional>

#include "core/book_file.h"
#include "core/phone_book.h"

namespace kw::app {

BookReading ParseBook(std::string_view fileName, std::string_view bytes) {
    return ReadBookFile(fileName, bytes);
}

ui::NameLookup BuildNameIndex(const std::vector<BookReading>& readings,
                              const PhoneBookOptions& options) {
    std::vector<std::vector<BookEntry>> books;
    books.reserve(readings.size());
    for (const BookReading& reading : readings) {
        books.push_back(reading.entries);
    }
    // Shared, so that a lookup handed out before the next load stays valid after it.
    auto book = std::make_shared<const PhoneBook>(
        books, NumberHome{options.Landesvorwahl, options.Ortsvorwahl});
    return [book](std::string_view number) -> std::optional<std::string> {
        if (auto name = book->NameFor(number)) {
            return std::string(*name);
        }
        return std::nullopt;
    };
}

}  // namespace kw::app
