#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/book_entry.h"
#include "core/phone_number.h"

namespace kw {

// The names of all address books, looked up by caller number. Built once, then never changed:
// a worker builds it, and the UI thread swaps in the whole object (e.g. a
// std::shared_ptr<const PhoneBook>); lookups on a const object are safe from any thread.
class PhoneBook {
  public:
    PhoneBook() = default;

    // `books` in order of precedence: a number in the first book beats the same number in a
    // later one, and within a book the first entry wins. Entries without a name, or whose number is
    // no number, are skipped. `home` is kept to read the caller numbers in the same way.
    PhoneBook(const std::vector<std::vector<BookEntry>>& books, NumberHome home);

    // The name for an incoming caller number: the entry with the same number, else the longest
    // company line ("030 12345-0") that the caller number extends. Withheld, empty or otherwise
    // unreadable numbers find nothing.
    std::optional<std::string_view> NameFor(std::string_view callerNumber) const;

    std::size_t size() const { return exact_.size(); }  // distinct numbers

  private:
    struct Key {
        std::uint32_t numberAt;  // in numbers_
        std::uint8_t numberSize;
        std::uint32_t nameAt;  // in names_
        std::uint32_t nameSize;
    };

    std::optional<std::string_view> Find(const std::vector<Key>& keys,
                                         std::string_view number) const;
    std::string_view NumberOf(const Key& key) const;

    NumberHome home_;
    std::string numbers_;     // every canonical number, one after the other
    std::string names_;       // every name, one after the other
    std::vector<Key> exact_;  // sorted by number, one per number
    std::vector<Key> lines_;  // company lines, the same
};

}  // namespace kw
