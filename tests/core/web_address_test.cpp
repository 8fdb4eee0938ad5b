#include "core/web_address.h"

#include <gtest/gtest.h>

namespace kw {
namespace {

TEST(PercentEncode, KeepsOnlyUnreservedCharacters) {
    const struct {
        std::string text, encoded;
    } cases[] = {
        {"AZaz09-._~", "AZaz09-._~"},
        {"+49 30", "%2B49%2030"},
        {"a&b=c?d#e/f", "a%26b%3Dc%3Fd%23e%2Ff"},
        {"%", "%25"},
        {"ü", "%C3%BC"},
        {"\r\n", "%0D%0A"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PercentEncode(c.text), c.encoded) << c.text;
    }
}

TEST(WebAddress, EncodesNumbersAndGivesWwwAScheme) {
    const struct {
        std::string shell, caller, address;
    } cases[] = {
        {"http://suche.de/?q={AnrufNummer}&l={MSN}", "+49 30",
         "http://suche.de/?q=%2B49%2030&l=42"},
        {"www.suche.de/{AnrufNummer}", "a/../b", "http://www.suche.de/a%2F..%2Fb"},
        {"WWW.suche.de", "", "http://WWW.suche.de"},
        {"https://x.de/?a=b c", "", "https://x.de/?a=b c"},
        {"http://x.de/{AnrufNummer}", "&admin=1#", "http://x.de/%26admin%3D1%23"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WebAddress(FillTemplate(c.shell, c.caller, "42")), c.address) << c.shell;
    }
    EXPECT_EQ(WebAddress(FillTemplate("http://x.de/?n={AnrufName}", "1", "2", "Ä & b")),
              "http://x.de/?n=%C3%84%20%26%20b");
}

TEST(IsWebAddress, LooksAtTheFirstFourCharactersInAnyCase) {
    const struct {
        std::string command;
        bool web;
    } cases[] = {
        {"http://x", true},      {"HTTP://x", true},   {"Http", true}, {"hTtPs://x", true},
        {"WWW.x.de", true},      {"www.", true},       {"www", false}, {"wwwx.de", false},
        {"ftp://x", false},      {" http://x", false}, {"htt", false}, {"", false},
        {"\"http://x\"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWebAddress(c.command), c.web) << c.command;
    }
}

}  // namespace
}  // namespace kw
