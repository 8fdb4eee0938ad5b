#include "core/reduce_number.h"

#include <gtest/gtest.h>

#include <string>

namespace kw {
namespace {

TEST(ReduceNumber, RemovesOnlyBracketsAndBlanks) {
    const struct {
        std::string number, reduced;
    } cases[] = {
        {"(0) 1 2-3", "012-3"},
        {"(012) 456789", "012456789"},
        {"+49 (30) 123/45", "+4930123/45"},
        {"(((   )))", ""},
        {"", ""},
        // Look-alikes and other white space stay: only ASCII "(", ")" and " " go.
        {"\t0\u00a01", "\t0\u00a01"},
        {"\uff08030\uff09\u3000 1", "\uff08030\uff09\u30001"},
        {"1\r\n2", "1\r\n2"},
        {"[0]{1}<2>", "[0]{1}<2>"},
        // Hostile text keeps everything but the three characters, bytes and NULs included.
        {"{MSN} {AnrufNummer}", "{MSN}{AnrufNummer}"},
        {"\"; rm -rf ~ #", "\";rm-rf~#"},
        {std::string("1\0 (2)", 6), std::string("1\0"
                                                "2",
                                                3)},
        {"\xff (\xc3", "\xff\xc3"},
        {"((" + std::string(10000, ' ') + "9))", "9"},
    };
    for (const auto& c : cases) {
        std::string number = c.number;
        ReduceNumber(number);
        EXPECT_EQ(number, c.reduced) << c.number;
    }
}

}  // namespace
}  // namespace kw
