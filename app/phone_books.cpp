#include "app/phone_books.h"

#include <map>
#include <memory>
#include <optional>

namespace kw::app {

BookReading ParseBook(std::string_view, std::string_view) {
    return {{}, "Dieses Format kann noch nicht gelesen werden."};
}

ui::NameLookup BuildNameIndex(const std::vector<BookReading>& readings, const PhoneBookOptions&) {
    // The first book that knows a number names it, as the list orders the books.
    auto names = std::make_shared<std::map<std::string, std::string, std::less<>>>();
    for (const BookReading& reading : readings) {
        for (const BookEntry& entry : reading.entries) {
            names->emplace(entry.number, entry.name);
        }
    }
    return [names](std::string_view number) -> std::optional<std::string> {
        const auto found = names->find(number);
        return found == names->end() ? std::nullopt : std::optional(found->second);
    };
}

}  // namespace kw::app
