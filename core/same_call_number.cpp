#include "core/same_call_number.h"

#include <cstddef>

namespace kw {

bool SameCallNumber(std::string_view a, std::string_view b) {
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

}  // namespace kw
