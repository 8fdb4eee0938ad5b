#pragma once

#include <string>

namespace kw::posix {

// A short German description of an errno value, for failure descriptions and messages
// ("Zugriff verweigert", "Systemfehler 123" for the rare ones).
std::string GermanErrnoText(int error);

}  // namespace kw::posix
