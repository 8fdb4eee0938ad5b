#include "core/phone_book.h"

#include <algorithm>
#include <cstdint>

namespace kw {

namespace {

// Sorts by number and keeps the first of each number: the order of `keys` is precedence.
template <typename Key, typename NumberOf>
void SortKeepingFirst(std::vector<Key>& keys, const NumberOf& numberOf) {
    std::stable_sort(keys.begin(), keys.end(),
                     [&](const Key& a, const Key& b) { return numberOf(a) < numberOf(b); });
    const auto last = std::unique(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
        return numberOf(a) == numberOf(b);
    });
    keys.erase(last, keys.end());
    keys.shrink_to_fit();
}

}  // namespace

PhoneBook::PhoneBook(const std::vector<std::vector<BookEntry>>& books, NumberHome home)
    : home_(std::move(home)) {
    for (const auto& book : books) {
        for (const BookEntry& entry : book) {
            const std::string number = CanonicalNumber(entry.number, home_);
            if (number.empty() || entry.name.empty()) {
                continue;  // a nameless entry has nothing to tell
            }
            if (names_.size() + entry.name.size() > UINT32_MAX ||
                numbers_.size() + 2 * number.size() > UINT32_MAX) {
                break;  // far beyond any real set of books; the offsets must stay exact
            }
            const auto nameAt = static_cast<std::uint32_t>(names_.size());
            const auto nameSize = static_cast<std::uint32_t>(entry.name.size());
            names_ += entry.name;
            auto add = [&](std::vector<Key>& keys, const std::string& digits) {
                keys.push_back(Key{static_cast<std::uint32_t>(numbers_.size()),
                                   static_cast<std::uint8_t>(digits.size()), nameAt, nameSize});
                numbers_ += digits;
            };
            add(exact_, number);
            if (const auto line = CompanyLine(entry.number, home_)) {
                add(lines_, *line);
            }
        }
    }
    const auto numberOf = [this](const Key& key) { return NumberOf(key); };
    SortKeepingFirst(exact_, numberOf);
    SortKeepingFirst(lines_, numberOf);
    numbers_.shrink_to_fit();
    names_.shrink_to_fit();
}

std::string_view PhoneBook::NumberOf(const Key& key) const {
    return std::string_view(numbers_).substr(key.numberAt, key.numberSize);
}

std::optional<std::string_view> PhoneBook::Find(const std::vector<Key>& keys,
                                                std::string_view number) const {
    const auto found = std::lower_bound(
        keys.begin(), keys.end(), number,
        [this](const Key& key, std::string_view wanted) { return NumberOf(key) < wanted; });
    if (found == keys.end() || NumberOf(*found) != number) {
        return std::nullopt;
    }
    return std::string_view(names_).substr(found->nameAt, found->nameSize);
}

std::optional<std::string_view> PhoneBook::NameFor(std::string_view callerNumber) const {
    const std::string number = CanonicalNumber(callerNumber, home_);
    if (number.empty()) {
        return std::nullopt;
    }
    if (const auto name = Find(exact_, number)) {
        return name;
    }
    if (lines_.empty()) {
        return std::nullopt;
    }
    // An extension is longer than its line, so the caller's own length is not tried.
    for (std::size_t length = number.size() - 1; length >= 2; --length) {
        if (const auto name = Find(lines_, std::string_view(number).substr(0, length))) {
            return name;
        }
    }
    return std::nullopt;
}

}  // namespace kw
