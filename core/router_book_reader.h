#pragma once

#include <string_view>

#include "core/book_entry.h"

namespace kw {

// The numbers of the home router's exported phonebook (XML: phonebooks/phonebook/contact, each
// with person/realName and any number of telephony/number), every number under its contact's
// name. Refuses DTDs, deep nesting, malformed XML and oversized books with a German reason.
BookReading ReadRouterBook(std::string_view bytes);

}  // namespace kw
