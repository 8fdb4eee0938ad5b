#include "core/replace_all.h"

#include <gtest/gtest.h>

#include <string>

namespace kw {
namespace {

TEST(ReplaceAll, ScansOnceWithoutRescanningTheReplacement) {
    const struct {
        std::string text, what, with, expected;
    } cases[] = {
        {"a-b-c", "-", "", "abc"},
        {"aaa", "aa", "b", "ba"},
        {"xy", "x", "xx", "xxy"},
        {"abc", "", "-", "abc"},
        {"", "a", "b", ""},
        {"{MSN}", "{msn}", "1", "{MSN}"},
        {std::string("a\0b", 3), std::string(1, '\0'), "-", "a-b"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceAll(c.text, c.what, c.with), c.expected) << c.text << " / " << c.what;
    }
}

}  // namespace
}  // namespace kw
