#pragma once

#include <cstdint>
#include <string>

#include "core/error_numbers.h"

namespace kw::posix {

// The error number for an errno value, where the failure needs no more specific one: 70 for a
// refused access, 76 for a missing path (never 53, which means a missing program), 7 for a lack
// of memory, and so on; `otherwise` for the rest. Its text comes from core's table.
std::int32_t ErrorNumberFromErrno(int error, std::int32_t otherwise = error::kPathFileAccess);

// A short German description of an errno value, the detail after the classic text in messages
// ("Zugriff verweigert", "Systemfehler 123" for the rare ones).
std::string GermanErrnoText(int error);

}  // namespace kw::posix
