#pragma once

#include <string_view>

namespace kw::posix {

// Writes every byte, across short writes and interruptions; 0, or the errno of the failure.
int WriteAll(int fd, std::string_view bytes);

}  // namespace kw::posix
