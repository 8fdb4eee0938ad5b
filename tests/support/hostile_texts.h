#pragma once

#include <string>
#include <vector>

namespace kw::test {

// Texts that settings stores and command lines tend to mangle: separators, quotes, escapes,
// line breaks, placeholders of other syntaxes, scripts of every direction, NULs, large sizes.
std::vector<std::string> HostileTexts();

}  // namespace kw::test
