#pragma once

#include <string>

namespace kw {

// Removes every "(", then every ")", then every " " from the number, in place. Nothing else.
void ReduceNumber(std::string& number);

}  // namespace kw
