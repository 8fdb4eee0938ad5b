#pragma once

#include <string_view>

#include "core/book_entry.h"

namespace kw {

// Reads one address book file with the reader its name asks for (".vcf"/".vcard": vCard,
// ".csv": CSV, ".xml": the router's phonebook, or a CardDAV multistatus when it is one), or,
// for any other name, the reader its content suggests. `bytes` is the whole file; reading it
// from disk is the caller's.
BookReading ReadBookFile(std::string_view fileName, std::string_view bytes);

}  // namespace kw
