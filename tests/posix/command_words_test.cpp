#include "platform/posix/command_words.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/filled_command.h"
#include "core/replace_all.h"

namespace kw::posix {
namespace {

CommandPiece Text(std::string text) {
    return CommandPiece{std::move(text), false};
}
CommandPiece Number(std::string text) {
    return CommandPiece{std::move(text), true};
}

std::vector<std::string> Texts(const std::vector<CommandWord>& words) {
    std::vector<std::string> texts;
    for (const CommandWord& word : words) {
        texts.push_back(word.text);
    }
    return texts;
}

struct QuotingCase {
    std::string command;
    std::vector<std::string> words;
};

TEST(CommandWordsTest, TemplateTextFollowsShellQuoting) {
    const QuotingCase cases[] = {
        {"prog a b", {"prog", "a", "b"}},
        {"  prog   a  ", {"prog", "a"}},
        {"a\tb\nc", {"a", "b", "c"}},
        {"", {}},
        {" \t\n ", {}},
        {"'a  b' c", {"a  b", "c"}},
        {"\"a  b\" c", {"a  b", "c"}},
        {"'a\\b \"c\"'", {"a\\b \"c\""}},
        {"\"a\\\"b\\$c\\`d\\\\e\"", {"a\"b$c`d\\e"}},
        {"\"a\\nb\\'c\"", {"a\\nb\\'c"}},
        {"\"a\\\nb\"", {"ab"}},
        {"a\\ b \\\"c\\' \\\\", {"a b", "\"c'", "\\"}},
        {"a\\\nb", {"ab"}},
        {"x \\\n y", {"x", "y"}},
        {"a'b'\"c\"d", {"abcd"}},
        {"'it'\\''s'", {"it's"}},
        {"'' \"\" x''", {"", "", "x"}},
        {"$HOME ~ * `x` $(id) \"$HOME\"", {"$HOME", "~", "*", "`x`", "$(id)", "$HOME"}},
        {"a;b|c&d>e #f", {"a;b|c&d>e", "#f"}},
        {"a \\", {"a", "\\"}},
    };
    for (const QuotingCase& c : cases) {
        SCOPED_TRACE(c.command);
        auto result = SplitCommandWords(FilledCommand({Text(c.command)}));
        ASSERT_TRUE(result.ok()) << result.failure().description;
        EXPECT_EQ(Texts(result.value()), c.words);
        for (const CommandWord& word : result.value()) {
            EXPECT_FALSE(word.hasNumber);
        }
    }
}

struct NumberCase {
    const char* name;
    std::vector<CommandPiece> pieces;
    std::vector<CommandWord> words;
};

TEST(CommandWordsTest, NumberTextIsDataInsideItsWord) {
    const NumberCase cases[] = {
        {"syntax in number",
         {Text("p --n="), Number("a b'\"\\\n\t$(id) `x`"), Text(" x")},
         {{"p", false}, {"--n=a b'\"\\\n\t$(id) `x`", true}, {"x", false}}},
        {"in double quotes",
         {Text("p \""), Number("1 \" 2"), Text("\"")},
         {{"p"}, {"1 \" 2", true}}},
        {"in single quotes", {Text("p '"), Number("x' y"), Text("'")}, {{"p"}, {"x' y", true}}},
        {"joins template text",
         {Text("p x"), Number("1"), Text("y z")},
         {{"p"}, {"x1y", true}, {"z"}}},
        {"empty stands alone", {Text("p "), Number(""), Text(" b")}, {{"p"}, {"", true}, {"b"}}},
        {"empty at the end", {Text("p a"), Number("")}, {{"p"}, {"a", true}}},
        {"only an empty number", {Number("")}, {{"", true}}},
        {"only blanks", {Text("p "), Number(" \n ")}, {{"p"}, {" \n ", true}}},
        {"two numbers", {Text("p "), Number("1"), Number("2")}, {{"p"}, {"12", true}}},
        {"quote in number opens nothing",
         {Text("p "), Number("\""), Text(" x")},
         {{"p"}, {"\"", true}, {"x"}}},
        {"backslash before number", {Text("p \\"), Number("$x")}, {{"p"}, {"$x", true}}},
        {"backslash before empty number",
         {Text("p \\"), Number(""), Text(" b")},
         {{"p"}, {"", true}, {"b"}}},
        {"backslash before number in double quotes",
         {Text("p \"\\"), Number("$x"), Text("\"")},
         {{"p"}, {"\\$x", true}}},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto result = SplitCommandWords(FilledCommand(c.pieces));
        ASSERT_TRUE(result.ok()) << result.failure().description;
        EXPECT_EQ(result.value(), c.words);
    }
}

TEST(CommandWordsTest, OpenQuoteFails) {
    const std::vector<CommandPiece> cases[] = {
        {Text("p 'a")},
        {Text("p \"a")},
        {Text("p \"a\\\"")},
        {Text("p 'a"), Number("'")},
        {Text("p \""), Number("\"")},
        {Text("p "), Number("'"), Text("'")},
    };
    for (const auto& pieces : cases) {
        const FilledCommand command(pieces);
        SCOPED_TRACE(command.text());
        auto result = SplitCommandWords(command);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.failure().number, 5);
        EXPECT_FALSE(result.failure().description.empty());
    }
}

// Whatever a number holds, the words are those of the template with the number standing where
// its placeholder stood: same count, same boundaries.
TEST(CommandWordsTest, NoNumberChangesTheWordsOfATemplate) {
    const std::string templates[] = {
        "prog {AnrufNummer} {MSN}",        "prog --nr={AnrufNummer} '{MSN}' \"x {AnrufNummer} y\"",
        "prog a{AnrufNummer}b{MSN}c",      "prog \\{AnrufNummer} \"\\{MSN}\"",
        "prog {AnrufNummer}{MSN} '' \"\"",
    };
    const std::string alphabet = " \t\n\r'\"\\$`;&|<>(){}*?~#!%=-+0123456789abcXYZ\xc3\xbc";
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::size_t> length(0, 24);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    auto hostile = [&] {
        std::string number(length(random), ' ');
        for (char& c : number) {
            c = alphabet[pick(random)];
        }
        return number;
    };
    // Sentinels stand for the numbers in the reference split.
    const std::string callerMark = "\x01";
    const std::string calledMark = "\x02";
    for (const auto& shell : templates) {
        auto reference = SplitCommandWords(FillTemplate(shell, callerMark, calledMark));
        ASSERT_TRUE(reference.ok()) << shell;
        for (int round = 0; round < 500; ++round) {
            const std::string caller = hostile();
            const std::string called = hostile();
            if (caller.find("{MSN}") != std::string::npos) {
                continue;
            }
            auto split = SplitCommandWords(FillTemplate(shell, caller, called));
            ASSERT_TRUE(split.ok()) << shell;
            std::vector<std::string> expected;
            for (const auto& word : reference.value()) {
                expected.push_back(
                    ReplaceAll(ReplaceAll(word.text, callerMark, caller), calledMark, called));
            }
            ASSERT_EQ(Texts(split.value()), expected)
                << shell << " / " << caller << " / " << called;
        }
    }
}

}  // namespace
}  // namespace kw::posix
