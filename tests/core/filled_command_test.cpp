#include "core/filled_command.h"

#include <gtest/gtest.h>

namespace kw {
namespace {

CommandPiece Text(std::string text) {
    return {std::move(text), false};
}
CommandPiece Number(std::string text) {
    return {std::move(text), true};
}

TEST(FillTemplate, ReplacesEveryPlaceholderCallerFirst) {
    const struct {
        std::string shell, caller, called, expected;
    } cases[] = {
        {"lookup {AnrufNummer} {MSN}", "0301", "42", "lookup 0301 42"},
        {"{AnrufNummer}{AnrufNummer}-{MSN}{MSN}", "1", "2", "11-22"},
        {"{anrufnummer} {msn} {ANRUFNUMMER} {Msn}", "1", "2",
         "{anrufnummer} {msn} {ANRUFNUMMER} {Msn}"},
        {"x {AnrufNummer}", "a{MSN}b", "42", "x a42b"},              // caller brings in {MSN}
        {"x {MSN}", "1", "{AnrufNummer}", "x {AnrufNummer}"},        // not rescanned
        {"{Anruf{AnrufNummer}Nummer}", "x", "2", "{AnrufxNummer}"},  // no rescan of the result
        {"{MS{AnrufNummer}", "N}", "42", "42"},                      // completed by the caller
        {"{AnrufNummer", "1", "2", "{AnrufNummer"},
        {"", "1", "2", ""},
        {"ohne Platzhalter", "1", "2", "ohne Platzhalter"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FillTemplate(c.shell, c.caller, c.called).text(), c.expected) << c.shell;
    }
}

TEST(FillTemplate, KeepsApartTemplateAndNumberText) {
    const struct {
        std::string shell, caller, called;
        std::vector<CommandPiece> expected;
    } cases[] = {
        {"a {AnrufNummer} b", "0 1", "x", {Text("a "), Number("0 1"), Text(" b")}},
        {"a {AnrufNummer}", "", "x", {Text("a "), Number("")}},
        {"{AnrufNummer}{MSN}", "1", "2", {Number("12")}},
        {"x {AnrufNummer}", "a{MSN}b", "'", {Text("x "), Number("a'b")}},
        {"{MS{AnrufNummer}!", "N}", "42", {Number("42"), Text("!")}},
        {"{MSN} {MSN}", "1", "", {Number(""), Text(" "), Number("")}},
        {"'{AnrufNummer}'", "\"", "2", {Text("'"), Number("\""), Text("'")}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FillTemplate(c.shell, c.caller, c.called).pieces(), c.expected) << c.shell;
    }
}

TEST(FillTemplate, PutsInTheNameAsNumberText) {
    const struct {
        std::string shell, caller, name;
        std::vector<CommandPiece> expected;
    } cases[] = {
        {"a {AnrufName} {AnrufNummer}",
         "1",
         "Ann 'B'",
         {Text("a "), Number("Ann 'B'"), Text(" "), Number("1")}},
        {"a {AnrufName}", "1", "", {Text("a "), Number("")}},
        {"{AnrufName}", "1", "{AnrufNummer}{MSN}", {Number("12")}},
        {"x {AnrufNummer}", "{AnrufName}", "Ann", {Text("x "), Number("{AnrufName}")}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FillTemplate(c.shell, c.caller, "2", c.name).pieces(), c.expected) << c.shell;
    }
}

TEST(FilledCommand, TellsWhetherANumberReachesTheStart) {
    EXPECT_TRUE(FillTemplate("{AnrufNummer}ttp://x", "h", "").numberWithin(4));
    EXPECT_TRUE(FillTemplate("htt{AnrufNummer}", "p", "").numberWithin(4));
    EXPECT_FALSE(FillTemplate("http{AnrufNummer}", "s", "").numberWithin(4));
    EXPECT_FALSE(FillTemplate("{AnrufNummer}http://x", "", "").numberWithin(4));
}

}  // namespace
}  // namespace kw
