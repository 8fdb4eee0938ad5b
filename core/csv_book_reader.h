#pragma once

#include <string_view>

#include "core/book_entry.h"

namespace kw {

// The numbers of a contacts CSV export with a header row (Outlook and Google, German and
// English headers). The name is the display name column, else first, middle and last name,
// else the company; every telephone column counts, and a Google cell with several numbers
// (" ::: ") gives each. Separator "," or ";" (or tab) as the header uses most; quoted fields with
// doubled quotes and line breaks; UTF-8 with or without BOM, else Windows-1252. A file without a
// telephone column, or beyond the book bounds, is refused with a German reason.
BookReading ReadCsvBook(std::string_view bytes);

}  // namespace kw
