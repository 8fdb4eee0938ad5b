#pragma once

#include <string_view>

namespace kw {

// Whether two sources' numbers name the same party, for joining their reports of one call.
// By the address books' rule: "+49 (30) 1234567" and "030 1234567" are the same; texts that are
// no number by it compare by their digits, two empty numbers are the same.
bool SameCallNumber(std::string_view a, std::string_view b);

}  // namespace kw
