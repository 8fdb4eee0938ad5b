#include "platform/win32/command_line.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/error_numbers.h"
#include "core/messages.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "tests/support/windows_argv_rules.h"

#include <shellapi.h>

namespace kw::win32::command_line {
namespace {

using namespace std::string_literals;

// What a program that splits its command line with the system's parser receives.
std::vector<std::wstring> Argv(const std::wstring& line) {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::wstring> result;
    for (int i = 0; words != nullptr && i < count; ++i) {
        result.emplace_back(words[i]);
    }
    LocalFree(words);
    return result;
}

WideCommand Fill(const std::string& shellTemplate, const std::string& caller,
                 const std::string& called = "") {
    return ToWide(FillTemplate(shellTemplate, caller, called));
}

const Failure kRefusal{error::kInvalidCall, std::string(kNumberDecidesTarget)};

// --- the program ---------------------------------------------------------------------------------

struct CandidateCase {
    std::string shellTemplate;
    std::vector<std::wstring> candidates;
};

TEST(ProgramCandidates, AreTheTextsWindowsWouldTryMadeOfTemplateTextOnly) {
    const CandidateCase cases[] = {
        {"prog", {L"prog"}},
        {"prog a b", {L"prog", L"prog a", L"prog a b"}},
        {"prog {AnrufNummer} x", {L"prog"}},
        {"prog a{AnrufNummer} x", {L"prog"}},
        {"C:\\Program Files\\App\\app.exe {AnrufNummer}",
         {L"C:\\Program", L"C:\\Program Files\\App\\app.exe"}},
        {"C:\\Program Files\\App\\app.exe{AnrufNummer}", {L"C:\\Program"}},
        {"prog\targ", {L"prog", L"prog\targ"}},
        {"prog  a", {L"prog", L"prog ", L"prog  a"}},
        {"\"C:\\Program Files\\App\\app.exe\" {AnrufNummer} x",
         {L"C:\\Program Files\\App\\app.exe"}},
        {"\"C:\\a b\\p.exe\"x y", {L"C:\\a b\\p.exe"}},
        {"  \t prog {MSN}", {L"prog"}},
        {"\"unclosed quote {MSN}", {}},
        {"\"unclosed quote", {}},
    };
    for (const CandidateCase& c : cases) {
        SCOPED_TRACE(c.shellTemplate);
        Result<std::vector<std::wstring>> candidates =
            ProgramCandidates(Fill(c.shellTemplate, "1 2"));
        if (c.shellTemplate.rfind("\"unclosed quote {MSN}", 0) == 0) {
            ASSERT_FALSE(candidates.ok());  // the number stands in the open quote of the program
            continue;
        }
        ASSERT_TRUE(candidates.ok()) << candidates.failure().description;
        EXPECT_EQ(candidates.value(), c.candidates);
    }
}

TEST(ProgramCandidates, RefuseANumberInTheFirstWord) {
    const std::string templates[] = {
        "{AnrufNummer} x",
        "{AnrufNummer}",
        "  {AnrufNummer} x",
        "\"{AnrufNummer}\" x",
        "\"C:\\dir\\{AnrufNummer}.exe\" x",
        "prog{MSN} x",
        "prog{MSN}",
        "\"prog\"{MSN} x",
        "pro\"g {MSN}\" x",
        "C:\\{AnrufNummer}\\prog.exe",
    };
    for (const std::string& shellTemplate : templates) {
        for (const std::string number : {"", "C:\\Windows\\System32\\calc.exe", " "}) {
            SCOPED_TRACE(shellTemplate + " / " + number);
            Result<std::vector<std::wstring>> candidates =
                ProgramCandidates(Fill(shellTemplate, number, number));
            ASSERT_FALSE(candidates.ok());
            EXPECT_EQ(candidates.failure(), kRefusal);
        }
    }
}

TEST(ProgramCandidates, RefuseEmptyCommandsAndNulCharacters) {
    for (const std::string shellTemplate : {"", " ", " \t "}) {
        Result<std::vector<std::wstring>> candidates = ProgramCandidates(Fill(shellTemplate, "1"));
        ASSERT_FALSE(candidates.ok());
        EXPECT_EQ(candidates.failure(), MakeFailure(error::kInvalidCall));
    }
    Result<std::vector<std::wstring>> nulInTemplate = ProgramCandidates(Fill("prog a\0b"s, "1"));
    ASSERT_FALSE(nulInTemplate.ok());
    EXPECT_EQ(nulInTemplate.failure(), MakeFailure(error::kInvalidCall));

    Result<std::vector<std::wstring>> nulInNumber =
        ProgramCandidates(Fill("prog {AnrufNummer} rest", "1\0 2"s));
    ASSERT_FALSE(nulInNumber.ok());
    EXPECT_EQ(nulInNumber.failure().number, error::kInvalidCall);
    EXPECT_NE(nulInNumber.failure().description.find("Nullzeichen"), std::string::npos);
}

// --- the command line ----------------------------------------------------------------------------

struct LineCase {
    std::string shellTemplate;
    std::string number;
    std::wstring line;
};

TEST(BuildCommandLine, WritesNumbersAsDataAndTheTemplateAsWritten) {
    const LineCase cases[] = {
        {"p {AnrufNummer}", "0301234", L"p 0301234"},
        {"p {AnrufNummer}", "030 1234", L"p \"030 1234\""},
        {"p {AnrufNummer}", "a\tb", L"p \"a\tb\""},
        {"p {AnrufNummer} x", "", L"p \"\" x"},
        {"p {AnrufNummer}", "", L"p \"\""},
        {"p x{AnrufNummer}", "", L"p x"},
        {"p --n={AnrufNummer}", "1 2", L"p --n=\"1 2\""},
        {"p {AnrufNummer}", "\"", L"p \\\""},
        {"p {AnrufNummer}", "a\\\"b", L"p a\\\\\\\"b"},
        {"p {AnrufNummer}", "a\\", L"p a\\"},
        {"p {AnrufNummer}", "a b\\", L"p \"a b\\\\\""},
        {"p \"{AnrufNummer}\"", "a\"b", L"p \"a\\\"b\""},
        {"p \"{AnrufNummer}\"", "a\\", L"p \"a\\\\\""},
        {"p \"{AnrufNummer}\"", "a b", L"p \"a b\""},
        {"p \"{AnrufNummer}\"", "", L"p \"\""},
        {"p \"x{AnrufNummer}\"y", "", L"p \"x\"y"},
        {"p \"C:\\d\\{AnrufNummer}\"", "", L"p \"C:\\d\\\\\""},
        {"p x\\{AnrufNummer}", "a b", L"p x\\\\\"a b\""},
        {"p \\{AnrufNummer}", "\"", L"p \\\\\\\""},
        {"p {AnrufNummer}\\\"", "a\\", L"p a\\\\\\\""},
        // Beside a template quote the quotes hug the blanks: "a "b"x" reads as a bx.
        {"p {AnrufNummer}\"x\"", "a b", L"p \"a \"b\"x\""},
        {"p \"x\"{AnrufNummer}", "a b", L"p \"x\"a\" b\""},
        {"p %PATH% {AnrufNummer}", "%PATH%", L"p %PATH% %PATH%"},
        {"p {AnrufNummer}", "-rf", L"p -rf"},
        {"p {AnrufNummer}", "☎ Zürich", L"p \"☎ Zürich\""},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.shellTemplate + " / " + c.number);
        Result<std::wstring> line = Build(Fill(c.shellTemplate, c.number), false);
        ASSERT_TRUE(line.ok()) << line.failure().description;
        EXPECT_EQ(line.value(), c.line);
    }
}

TEST(BuildCommandLine, RefusesANumberThatNeedsQuotesRightBesideATemplateQuote) {
    const LineCase cases[] = {
        {"p \"x\"{AnrufNummer}", " a", L""},
        {"p {AnrufNummer}\"x\"", "a ", L""},
        {"p \"\"{AnrufNummer}", "\t", L""},
        {"p \"x\"{AnrufNummer}\"y\"", "", L""},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.shellTemplate + " / " + c.number);
        Result<std::wstring> line = Build(Fill(c.shellTemplate, c.number), false);
        ASSERT_FALSE(line.ok());
        EXPECT_EQ(line.failure().number, error::kInvalidCall);
        EXPECT_NE(line.failure().description.find("Anführungszeichen"), std::string::npos);
    }
}

// Templates whose words a C runtime and CommandLineToArgvW read differently: a number there
// could be one argument to one program and several to another.
TEST(BuildCommandLine, RefusesQuotesThatTheParsersReadDifferently) {
    const std::string refused[] = {
        "app.exe \"a\"\"b {AnrufNummer}\"", "x\" \"y {AnrufNummer}",
        "\"prog\"x {AnrufNummer}",          "pro\"g\" {AnrufNummer}",
        "p \"a\"\"b\" {AnrufNummer}",       "p \"x{AnrufNummer}\"\"y\"",
        "p {AnrufNummer} \"\"\"",           "p \\\"\"\"\" {MSN}",
    };
    for (const std::string& shellTemplate : refused) {
        for (const std::string number : {"x --evil", ""}) {
            SCOPED_TRACE(shellTemplate + " / " + number);
            const WideCommand command = Fill(shellTemplate, number, number);
            Result<std::vector<std::wstring>> candidates = ProgramCandidates(command);
            Result<std::wstring> line = Build(command, false);
            ASSERT_FALSE(candidates.ok());
            ASSERT_FALSE(line.ok());
            EXPECT_EQ(line.failure(), candidates.failure());
            EXPECT_EQ(line.failure().number, error::kInvalidCall);
            EXPECT_NE(line.failure().description.find("nicht jedes Programm gleich"),
                      std::string::npos);
        }
    }
    // Read alike, or without a number to misplace: passed on as written.
    const LineCase accepted[] = {
        {"p \"\" {AnrufNummer}", "x y", L"p \"\" \"x y\""},
        {"p \\\"\" {AnrufNummer}\"", "x y", L"p \\\"\" x y\""},
        {"\"C:\\p q\\prog.exe\" {AnrufNummer}", "x y", L"\"C:\\p q\\prog.exe\" \"x y\""},
        {"x\" \"y \"a\"\"b\"", "", L"x\" \"y \"a\"\"b\""},
    };
    for (const LineCase& c : accepted) {
        SCOPED_TRACE(c.shellTemplate);
        Result<std::wstring> line = Build(Fill(c.shellTemplate, c.number), false);
        ASSERT_TRUE(line.ok()) << line.failure().description;
        EXPECT_EQ(line.value(), c.line);
    }
}

TEST(BuildCommandLine, QuotesBatchSeparatorsForBatchFilesOnly) {
    Result<std::wstring> batch = Build(Fill("p.bat {AnrufNummer}", "1,2;3=4"), true);
    ASSERT_TRUE(batch.ok());
    EXPECT_EQ(batch.value(), L"p.bat \"1,2;3=4\"");
    Result<std::wstring> program = Build(Fill("p.exe {AnrufNummer}", "1,2;3=4"), false);
    ASSERT_TRUE(program.ok());
    EXPECT_EQ(program.value(), L"p.exe 1,2;3=4");
}

TEST(BuildCommandLine, KnowsTheBatchMetacharacters) {
    for (const wchar_t* number : {L"&", L"|", L"<", L">", L"^", L"%", L"\"", L"(", L")", L"!",
                                  L"\r", L"\n", L"a&b", L"%PATH%"}) {
        EXPECT_TRUE(HoldsBatchMetacharacter(number)) << WideToUtf8(number);
    }
    for (const wchar_t* number : {L"", L"030 1234", L"+49-30/1234", L"1,2;3=4", L"\\", L"ä☎"}) {
        EXPECT_FALSE(HoldsBatchMetacharacter(number)) << WideToUtf8(number);
    }
}

// The property that matters, checked against the system's own parser and the C runtimes' rules:
// for any template and any numbers, the words of the built line are the words the template has
// when each number is one ordinary character, with that character replaced by the number. So the
// template keeps its meaning and every number arrives whole, in its place, whatever the program
// splits its line with. Also keeps the portable parser of the fuzz target true to the system's.
TEST(BuildCommandLine, NoNumberChangesTheWordsOfAnyTemplate) {
    std::mt19937 random(20240607);
    const std::vector<std::string> templateParts = {
        "a", "b", " ", "\t", "\"", "\\", "{AnrufNummer}", "{MSN}", "=", "%"};
    const std::vector<std::string> numberParts = {"x", " ", "\t", "\"", "\\", ",", "ü", "&"};
    const std::vector<std::string> programs = {"prog ", "\"C:\\p q\\prog.exe\" ", "prog\t\t",
                                               "\"prog\" "};
    const auto pick = [&](const std::vector<std::string>& parts, int maxLength) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, maxLength)(random);
        for (int i = 0; i < length; ++i) {
            text += parts[std::uniform_int_distribution<std::size_t>(0, parts.size() - 1)(random)];
        }
        return text;
    };

    int built = 0;
    int refused = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string shellTemplate =
            programs[std::uniform_int_distribution<std::size_t>(0, programs.size() - 1)(random)] +
            pick(templateParts, 12);
        const std::string caller = pick(numberParts, 5);
        const std::string called = pick(numberParts, 5);
        const bool forBatch = round % 4 == 0;
        const WideCommand command = Fill(shellTemplate, caller, called);
        if (command.empty() || command.front().fromNumber) {
            continue;
        }

        std::wstring opaque;  // each number as one private-use character
        std::vector<std::wstring> numbers;
        for (const WidePiece& piece : command) {
            if (piece.fromNumber) {
                opaque += static_cast<wchar_t>(0xE000 + numbers.size());
                numbers.push_back(piece.text);
            } else {
                opaque += piece.text;
            }
        }
        std::vector<std::wstring> expected = Argv(opaque);
        for (std::wstring& word : expected) {
            std::wstring filled;
            for (const wchar_t c : word) {
                if (c >= 0xE000 && c < 0xE000 + numbers.size()) {
                    filled += numbers[c - 0xE000];
                } else {
                    filled += c;
                }
            }
            word = filled;
        }

        Result<std::wstring> line = Build(command, forBatch);
        if (!line.ok()) {
            // Only for a number that needs quotes beside a template quote (see the test above).
            ASSERT_EQ(line.failure().number, error::kInvalidCall);
            ASSERT_NE(line.failure().description.find("Anführungszeichen"), std::string::npos);
            ++refused;
            continue;
        }
        ++built;
        const std::vector<std::wstring> system = Argv(line.value());
        ASSERT_EQ(system, expected)
            << "template: " << shellTemplate << "\ncaller: " << caller << "\ncalled: " << called
            << "\nline: " << WideToUtf8(line.value());
        if (!numbers.empty()) {  // else the user's own line, which a C runtime may split its way
            ASSERT_EQ(test::SplitLikeCRuntime(line.value()), expected) << WideToUtf8(line.value());
        }
        ASSERT_EQ(test::SplitLikeCommandLineToArgvW(line.value()), system)
            << WideToUtf8(line.value());
    }
    // Random templates put quotes beside placeholders far more often than real ones do.
    EXPECT_GT(built, 10000);
    EXPECT_LT(refused, built);
}

}  // namespace
}  // namespace kw::win32::command_line
