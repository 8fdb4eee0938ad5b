#include "core/number_format.h"

#include "core/filled_command.h"

namespace kw {

void ReduceNumber(std::string& number) {
    number = ReplaceAll(number, "(", "");
    number = ReplaceAll(number, ")", "");
    number = ReplaceAll(number, " ", "");
}

}  // namespace kw
