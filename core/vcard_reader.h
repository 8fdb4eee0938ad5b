#pragma once

#include <string_view>

#include "core/book_entry.h"

namespace kw {

// The numbers of a vCard file (versions 2.1, 3.0 and 4.0), each TEL of each card under the
// card's FN, else its N ("Given Family"), else its ORG. Reads folded lines, QUOTED-PRINTABLE,
// CHARSET (UTF-8, ISO-8859-1, Windows-1252; 2.1 text that is not UTF-8 counts as Windows-1252),
// grouped properties ("item1.TEL") and "tel:" addresses. Refuses books above kMaxBookBytes or
// kMaxBookNumbers with a German reason.
BookReading ReadVCards(std::string_view bytes);

}  // namespace kw
