// The record reader decides whether an action test sees arguments at all; a damaged or cut
// record must read as nothing rather than as fewer arguments.
#include "tests/win32/gui/recorded_arguments.h"

#include <gtest/gtest.h>

#include <string>

namespace kw::win32::gui {
namespace {

using Arguments = std::vector<std::string>;

TEST(RecordedArguments, TakesTheRuntimeArgumentsOfAWholeRecordOnly) {
    const std::string whole = "1:-\n4:a  b\n1:1\n4:a  b\n1:2\n1:x\n0:\n";
    EXPECT_EQ(RecordedArguments(whole), (Arguments{"x", ""}));
    EXPECT_EQ(RecordedArguments("1:1\n3:a b\n1:2\n1:a\n1:b\n1:3\n1:a\n2:b\n\n0:\n"),
              (Arguments{"a", "b\n", ""}));
    const struct {
        const char* what;
        std::string record;
    } damaged[] = {
        {"empty", ""},
        {"cut in a field", whole.substr(0, whole.size() - 2)},
        {"cut before the last argument", whole.substr(0, whole.size() - 3)},
        {"length beyond the end", "1:-\n99:x\n"},
        {"huge length", "1:-\n18446744073709551615:x\n"},
        {"no separator", "1-\n"},
        {"no line end", "1:-x"},
        {"count with more than digits", "1:-\n1:x\n2:0 \n1:1\n1:x\n"},
    };
    for (const auto& c : damaged) {
        EXPECT_EQ(RecordedArguments(c.record), std::nullopt) << c.what;
    }
}

}  // namespace
}  // namespace kw::win32::gui
