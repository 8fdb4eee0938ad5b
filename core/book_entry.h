#pragma once

#include <string>
#include <vector>

namespace kw {

// One number of one contact, as the book writes it.
struct BookEntry {
    std::string name;
    std::string number;

    friend bool operator==(const BookEntry&, const BookEntry&) = default;
};

// What one book gave: its entries, or in German why it could not be read.
struct BookReading {
    std::vector<BookEntry> entries;
    std::string error;  // empty when the book was read
};

}  // namespace kw
