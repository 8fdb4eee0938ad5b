#pragma once

#include <string_view>

namespace kw {

// Whether two sources' numbers name the same party, for joining their reports of one call.
// Digits only for now: "+49 (30) 1234" and "4930-1234" are the same, two empty numbers too.
bool SameCallNumber(std::string_view a, std::string_view b);

}  // namespace kw
