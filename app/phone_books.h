#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/book_entry.h"
#include "core/phone_book_options.h"
#include "ui/book_loader.h"

namespace kw::app {

// Where the books' formats and the matching of numbers come in: the one place both programs
// take them from.
BookReading ParseBook(std::string_view fileName, std::string_view bytes);
ui::NameLookup BuildNameIndex(const std::vector<BookReading>& readings,
                              const PhoneBookOptions& options);

}  // namespace kw::app
