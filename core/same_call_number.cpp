#include "core/same_call_number.h"

#include <cstddef>
#include <string>

#include "core/phone_number.h"

namespace kw {

namespace {

bool SameDigits(std::string_view a, std::string_view b) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    std::size_t j = 0;
    while (true) {
        while (i < a.size() && !digit(a[i])) {
            ++i;
        }
        while (j < b.size() && !digit(b[j])) {
            ++j;
        }
        if (i == a.size() || j == b.size()) {
            return i == a.size() && j == b.size();
        }
        if (a[i++] != b[j++]) {
            return false;
        }
    }
}

}  // namespace

bool SameCallNumber(std::string_view a, std::string_view b) {
    // The same home on both sides is enough to see "030 1234567" and "+49301234567" as one
    // number; which home it is does not change whether two forms agree.
    const NumberHome home;
    const std::string first = CanonicalNumber(a, home);
    const std::string second = CanonicalNumber(b, home);
    if (!first.empty() || !second.empty()) {
        return first == second;
    }
    // Neither is a number by the rule (empty, an extension, a name): the digits decide.
    return SameDigits(a, b);
}

}  // namespace kw
