#include "platform/win32/win32_launcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/error_numbers.h"
#include "core/messages.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "tests/support/length_prefixed_fields.h"
#include "tests/support/windows_argv_rules.h"
#include "tests/win32/win32_test_util.h"

namespace kw::win32 {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Clock = std::chrono::steady_clock;

// What kw_win_argv_recorder wrote (see win_argv_recorder.cpp).
struct Record {
    std::string show;
    std::string line;
    std::vector<std::string> words;    // CommandLineToArgvW
    std::vector<std::string> runtime;  // the C runtime's argv
};

std::optional<Record> ParseRecord(const std::string& data) {
    const std::optional<std::vector<std::string>> read =
        kw::testing::ReadLengthPrefixedFields(data);
    if (!read) {
        return std::nullopt;
    }
    const std::vector<std::string>& fields = *read;
    Record record;
    std::size_t next = 0;
    const auto take = [&]() -> std::optional<std::string> {
        if (next >= fields.size()) {
            return std::nullopt;
        }
        return fields[next++];
    };
    const auto takeList = [&](std::vector<std::string>& list) {
        const std::optional<std::string> count = take();
        if (!count) {
            return false;
        }
        for (int i = std::stoi(*count); i > 0; --i) {
            const std::optional<std::string> word = take();
            if (!word) {
                return false;
            }
            list.push_back(*word);
        }
        return true;
    };
    const std::optional<std::string> show = take();
    const std::optional<std::string> line = take();
    if (!show || !line || !takeList(record.words) || !takeList(record.runtime)) {
        return std::nullopt;
    }
    record.show = *show;
    record.line = *line;
    return record;
}

// The started program is not waited for: its record shows up some time later.
std::optional<Record> AwaitRecord(const fs::path& file,
                                  std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        if (const std::optional<std::string> data = test::ReadBytes(file)) {
            return ParseRecord(*data);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

// Text as it arrives after the trip through UTF-16 (ill-formed UTF-8 becomes U+FFFD).
std::string Arrived(const std::string& text) {
    return WideToUtf8(Utf8ToWide(text));
}

class Win32LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.path().empty());
        ASSERT_TRUE(fs::exists(recorder_)) << recorder_;
    }

    static std::string Utf8(const fs::path& path) { return WideToUtf8(path.wstring()); }

    fs::path nextRecordFile() { return dir_.path() / ("record" + std::to_string(++runs_)); }

    // Starts the command and returns what the recorder saw.
    std::optional<Record> run(const FilledCommand& command) {
        const fs::path file = nextRecordFile();
        const test::ScopedEnv recordTo(L"KW_RECORD_FILE", file.wstring());
        const MaybeFailure failure = launcher_.startProgram(command);
        EXPECT_FALSE(failure) << failure->number << " " << failure->description;
        return failure ? std::nullopt : AwaitRecord(file);
    }

    // Starts the command, expects the failure and that nothing ran.
    void expectFailure(const FilledCommand& command, const Failure& expected) {
        const fs::path file = nextRecordFile();
        const test::ScopedEnv recordTo(L"KW_RECORD_FILE", file.wstring());
        const MaybeFailure failure = launcher_.startProgram(command);
        ASSERT_TRUE(failure);
        EXPECT_EQ(*failure, expected);
        EXPECT_FALSE(AwaitRecord(file, std::chrono::milliseconds(50)));
    }

    // A copy of the recorder under another name.
    fs::path copyRecorder(const fs::path& to) {
        fs::create_directories(to.parent_path());
        fs::copy_file(recorder_, to, fs::copy_options::overwrite_existing);
        return to;
    }

    test::TempDir dir_;
    fs::path recorder_ = test::ProgramDirectory() / "kw_win_argv_recorder.exe";
    Win32Launcher launcher_;
    int runs_ = 0;
};

struct HostileCase {
    std::string caller;
    std::string called;
};

// Each number arrives whole in its own place, wherever the template puts it: glued to template
// text, alone, inside quotes with other text, after backslashes; the template's own words stay.
TEST_F(Win32LauncherTest, HostileNumbersArriveAsDataInTheirPlaces) {
    const HostileCase cases[] = {
        {"030 1234", "0 30"},
        {"\"", "\""},
        {"a\"b", "c\\\"d"},
        {"\\", "\\\\"},
        {"trailing\\", "x\\"},
        {"\\\"", "\\\\\""},
        {"&calc", "| calc"},
        {"%PATH%", "%USERNAME%"},
        {"^", "^^"},
        {"-rf", "--help"},
        {"/c calc", "/?"},
        {"☎ +49 (0)30 – Zürich", "\xff\xfe"},
        {"", ""},
        {"1\r\n2", "3\t4"},
        {"  0 30  1234 ", " "},
        {"\"; x; \"", "' \"x\" '"},
        {"{MSN}", "{AnrufNummer}"},
        {"*", "?"},
        {std::string(2000, '7'), std::string(2000, ' ')},
    };
    const std::string shellTemplate = "\"" + Utf8(recorder_) +
                                      "\" --caller={AnrufNummer} \"{MSN}\" {AnrufNummer} "
                                      "\"in {MSN} quotes\" C:\\dir\\{AnrufNummer} "
                                      "\"C:\\dir\\{MSN}\\\\\" x";
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.caller.substr(0, 40) + " / " + c.called.substr(0, 40));
        const std::optional<Record> record = run(FillTemplate(shellTemplate, c.caller, c.called));
        ASSERT_TRUE(record);
        // A {MSN} in the caller number is filled in as well, still as number text.
        const std::string caller = Arrived(c.caller == "{MSN}" ? c.called : c.caller);
        const std::string called = Arrived(c.called);
        const std::vector<std::string> expected = {Utf8(recorder_),
                                                   "--caller=" + caller,
                                                   called,
                                                   caller,
                                                   "in " + called + " quotes",
                                                   "C:\\dir\\" + caller,
                                                   "C:\\dir\\" + called + "\\",
                                                   "x"};
        EXPECT_EQ(record->words, expected) << record->line;
        EXPECT_EQ(record->runtime, expected) << "the C runtime reads the line alike";
    }
}

TEST_F(Win32LauncherTest, TemplateTextStaysAsTheUserWroteIt) {
    const std::string shellTemplate =
        "\"" + Utf8(recorder_) + "\"  %PATH%  'single' a\\\\b \"\" \"x\"y {AnrufNummer}";
    const std::optional<Record> record = run(FillTemplate(shellTemplate, "1", ""));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->line, shellTemplate.substr(0, shellTemplate.size() - 13) + "1");
}

// The portable parsers that the builder's tests and fuzz target trust, against the system's
// CommandLineToArgvW and the C runtime of a started program, on lines where the two differ.
TEST_F(Win32LauncherTest, PortableParsersReadLinesAsTheSystemDoes) {
    for (const std::string arguments :
         {" \"a\"\"b 1 2\"", " a\"b\"\" c d", " a\\\\\\\"b c d", " a\\\\\\\\\"b c\" d e",
          " \"\"\" x \"\"\"\" y", "x y", " \"", " \"\" \"\\\"\"\"\" z"}) {
        const std::string shellTemplate = "\"" + Utf8(recorder_) + "\"" + arguments;
        SCOPED_TRACE(shellTemplate);
        const std::optional<Record> record = run(FillTemplate(shellTemplate, "", ""));
        ASSERT_TRUE(record);
        ASSERT_EQ(record->line, shellTemplate);
        const auto utf8 = [](const std::vector<std::wstring>& words) {
            std::vector<std::string> converted;
            for (const std::wstring& word : words) {
                converted.push_back(WideToUtf8(word));
            }
            return converted;
        };
        const std::wstring line = Utf8ToWide(shellTemplate);
        EXPECT_EQ(record->words, utf8(kw::test::SplitLikeCommandLineToArgvW(line)));
        EXPECT_EQ(record->runtime, utf8(kw::test::SplitLikeCRuntime(line)));
    }
}

TEST_F(Win32LauncherTest, ProgramStartsShownNormallyAndIsNotWaitedFor) {
    const fs::path file = nextRecordFile();
    const test::ScopedEnv recordTo(L"KW_RECORD_FILE", file.wstring());
    const auto start = Clock::now();
    const MaybeFailure failure =
        launcher_.startProgram(FillTemplate("\"" + Utf8(recorder_) + "\" --sleep=3000", "", ""));
    const auto took = Clock::now() - start;
    ASSERT_FALSE(failure) << failure->description;
    EXPECT_LT(took, std::chrono::milliseconds(2500));
    const std::optional<Record> record = AwaitRecord(file);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->show, std::to_string(SW_SHOWNORMAL));
}

TEST_F(Win32LauncherTest, LeadingBlanksOfTheTemplateAreNotPartOfTheProgram) {
    const std::optional<Record> record =
        run(FillTemplate(" \t \"" + Utf8(recorder_) + "\" {AnrufNummer}", "1 2", ""));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->words, (std::vector<std::string>{Utf8(recorder_), "1 2"}));
}

TEST_F(Win32LauncherTest, BareNameIsFoundOnPathWithExeAdded) {
    copyRecorder(dir_.path() / "bin" / "kw-rec.exe");
    const test::ScopedEnv path(L"PATH", (dir_.path() / "bin").wstring() + L";C:\\windows");
    const std::optional<Record> record = run(FillTemplate("kw-rec {AnrufNummer}", "030 1", ""));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->words, (std::vector<std::string>{"kw-rec", "030 1"}));
}

TEST_F(Win32LauncherTest, UnquotedPathWithBlanksStillStarts) {
    const fs::path program = copyRecorder(dir_.path() / "mit Leer zeichen" / "kw rec.exe");
    const std::string shellTemplate = Utf8(program) + " {AnrufNummer} x";
    const std::optional<Record> record = run(FillTemplate(shellTemplate, "0 1", ""));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->line, Utf8(program) + " \"0 1\" x");
    // How the program splits its own path is the program's business; the number is one word.
    ASSERT_GE(record->words.size(), 2U);
    EXPECT_EQ(record->words[record->words.size() - 2], "0 1");
    EXPECT_EQ(record->words.back(), "x");
}

TEST_F(Win32LauncherTest, NumberCannotCompleteTheProgramPath) {
    const fs::path program = copyRecorder(dir_.path() / "mit Leer zeichen" / "kw rec.exe");
    // Windows, left to itself, would try "...\mit Leer zeichen\kw rec.exe" as the program.
    expectFailure(
        FillTemplate(Utf8(dir_.path() / "mit") + " {AnrufNummer}", "Leer zeichen\\kw rec.exe", ""),
        MakeFailure(error::kFileNotFound));
    expectFailure(
        FillTemplate(Utf8(dir_.path() / "mit Leer") + " {AnrufNummer}", "zeichen\\kw rec.exe", ""),
        MakeFailure(error::kFileNotFound));
}

TEST_F(Win32LauncherTest, MissingProgramsFailWith53) {
    const std::string missing[] = {
        "C:\\nonexistent\\kw-no-such-program.exe a",
        "kw-no-such-program-on-path",
        "\"C:\\no such dir\\prog.exe\" {AnrufNummer}",
        "\"" + Utf8(recorder_) + " x",  // the quote is never closed
        Utf8(dir_.path()),              // a directory is no program
        "C:\\windows",
    };
    for (const std::string& shellTemplate : missing) {
        SCOPED_TRACE(shellTemplate);
        expectFailure(FillTemplate(shellTemplate, "1", ""), MakeFailure(error::kFileNotFound));
    }
}

TEST_F(Win32LauncherTest, FilesThatCannotRunFailWithAnotherNumber) {
    test::WriteBytes(dir_.path() / "plain.txt", "just text\r\n");
    test::WriteBytes(dir_.path() / "empty.exe", "");
    for (const char* name : {"plain.txt", "empty.exe"}) {
        SCOPED_TRACE(name);
        const MaybeFailure failure =
            launcher_.startProgram(FillTemplate(Utf8(dir_.path() / name) + " a", "", ""));
        ASSERT_TRUE(failure);
        EXPECT_NE(failure->number, error::kFileNotFound);
        EXPECT_FALSE(failure->description.empty());
    }
}

TEST_F(Win32LauncherTest, ProgramNamedByANumberIsRefused) {
    const std::string recorder = Utf8(recorder_);
    const std::string stem = recorder.substr(0, recorder.size() - 4);  // without ".exe"
    const std::pair<std::string, std::string> cases[] = {
        {"{AnrufNummer} x", recorder},        // the number is the program
        {"\"{AnrufNummer}\" x", recorder},    // quotes do not make it template text
        {"{AnrufNummer}", ""},                // an empty number still marks the word
        {recorder + "{MSN}", ""},             // glued to the program's name
        {"\"" + recorder + "\"{MSN} x", ""},  // glued to its closing quote
        {"\"" + stem + "{MSN}.exe\" x", ""},  // inside the quoted name
        {stem + "{AnrufNummer}", ".exe"},     // completing the name
    };
    for (const auto& [shellTemplate, number] : cases) {
        SCOPED_TRACE(shellTemplate);
        expectFailure(FillTemplate(shellTemplate, number, ""),
                      Failure{error::kInvalidCall, std::string(kNumberDecidesTarget)});
    }
}

TEST_F(Win32LauncherTest, EmptyCommandsAndNulCharactersAreRefused) {
    expectFailure(FillTemplate("", "1", ""), MakeFailure(error::kInvalidCall));
    expectFailure(FillTemplate(" \t ", "1", ""), MakeFailure(error::kInvalidCall));
    const MaybeFailure nul = launcher_.startProgram(
        FillTemplate("\"" + Utf8(recorder_) + "\" {AnrufNummer} rest", "1\0rest"s, ""));
    ASSERT_TRUE(nul);
    EXPECT_EQ(nul->number, error::kInvalidCall);
}

// --- batch files -----------------------------------------------------------------------------

class Win32LauncherBatchTest : public Win32LauncherTest {
  protected:
    void SetUp() override {
        Win32LauncherTest::SetUp();
        // Hands its arguments to the recorder exactly as cmd.exe received them.
        test::WriteBytes(batch_, "@\"" + Utf8(recorder_) + "\" %*\r\n");
        test::WriteBytes(upperCaseCmd_, "@\"" + Utf8(recorder_) + "\" %*\r\n");
    }

    fs::path batch_ = dir_.path() / "rec.bat";
    fs::path upperCaseCmd_ = dir_.path() / "REC2.CMD";
};

TEST_F(Win32LauncherBatchTest, NumbersWithCommandCharactersAreRefused) {
    const std::string numbers[] = {"&calc", "a|b", "<in", ">out",   "^",    "%PATH%", "\"",
                                   "(",     ")",   "!x!", "1\r\n2", "1\n2", "1\r2",   "a & b"};
    for (const fs::path& script : {batch_, upperCaseCmd_}) {
        for (const std::string& number : numbers) {
            SCOPED_TRACE(Utf8(script) + " / " + number);
            const fs::path file = nextRecordFile();
            const test::ScopedEnv recordTo(L"KW_RECORD_FILE", file.wstring());
            const MaybeFailure failure =
                launcher_.startProgram(FillTemplate(Utf8(script) + " {AnrufNummer}", number, ""));
            ASSERT_TRUE(failure);
            EXPECT_EQ(failure->number, error::kInvalidCall);
            EXPECT_NE(failure->description.find("Stapelverarbeitungsdatei"), std::string::npos);
            EXPECT_FALSE(fs::exists(file));
        }
    }
}

TEST_F(Win32LauncherBatchTest, HarmlessNumbersRunTheBatchFile) {
    const std::optional<Record> record =
        run(FillTemplate(Utf8(batch_) + " {AnrufNummer} \"{MSN}\" x", "030 1234", "+49,30;1=2"));
    ASSERT_TRUE(record) << "cmd.exe did not run the batch file";
    EXPECT_EQ(record->words,
              (std::vector<std::string>{Utf8(recorder_), "030 1234", "+49,30;1=2", "x"}));

    const std::optional<Record> separators =
        run(FillTemplate(Utf8(upperCaseCmd_) + " {AnrufNummer}", "1,2;3=4", ""));
    ASSERT_TRUE(separators);
    EXPECT_EQ(separators->words, (std::vector<std::string>{Utf8(recorder_), "1,2;3=4"}));
}

// --- web addresses ---------------------------------------------------------------------------

// The "Open" verb of the shell opens whatever it is given; an executable stands in for the
// browser here, so the test sees that the address arrived.
TEST_F(Win32LauncherTest, AddressGoesToTheShellWithNumbersEncoded) {
    const fs::path program = copyRecorder(dir_.path() / "kw rec.exe");
    const fs::path file = nextRecordFile();
    const test::ScopedEnv recordTo(L"KW_RECORD_FILE", file.wstring());

    // The number is encoded: "kw%20rec.exe" names no file, so nothing starts.
    launcher_.openAddress(FilledCommand({{Utf8(dir_.path()) + "\\kw", false}, {" rec.exe", true}}));
    EXPECT_FALSE(AwaitRecord(file, std::chrono::milliseconds(1000)));

    launcher_.openAddress(FilledCommand({{Utf8(program), false}}));
    const std::optional<Record> record = AwaitRecord(file);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->show, std::to_string(SW_SHOWNORMAL));
}

}  // namespace
}  // namespace kw::win32
