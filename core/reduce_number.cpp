#include "core/reduce_number.h"

#include "core/replace_all.h"

namespace kw {

void ReduceNumber(std::string& number) {
    number = ReplaceAll(number, "(", "");
    number = ReplaceAll(number, ")", "");
    number = ReplaceAll(number, " ", "");
}

}  // namespace kw
