#include "platform/posix/posix_launcher.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/messages.h"
#include "platform/posix/process_spawner.h"
#include "tests/posix/argv_record.h"
#include "tests/posix/posix_test_support.h"

namespace kw::posix {
namespace {

namespace fs = std::filesystem;

std::string Recorder() {
    return KW_ARGV_RECORDER;
}

using testing::ScopedEnv;

using testing::ArgvRecord;
using testing::AwaitArgvRecord;
using testing::NoChildLeft;

void WriteFile(const fs::path& path, const std::string& content, fs::perms perms) {
    std::ofstream(path, std::ios::binary) << content;
    fs::permissions(path, perms);
}

class PosixLauncherTest : public ::testing::Test {
  protected:
    PosixLauncherTest() {
        std::string pattern = (fs::temp_directory_path() / "kw_launcher_XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            dir_ = pattern;
        }
    }
    ~PosixLauncherTest() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    void SetUp() override { ASSERT_FALSE(dir_.empty()); }

    // Starts the command and returns what the recorder saw.
    std::optional<ArgvRecord> run(const FilledCommand& command) {
        const fs::path file = dir_ / ("record" + std::to_string(++runs_));
        const ScopedEnv recordTo("KW_RECORD_FILE", file.string());
        const MaybeFailure failure = launcher_.startProgram(command);
        EXPECT_FALSE(failure) << failure->number << " " << failure->description;
        EXPECT_TRUE(NoChildLeft());
        return failure ? std::nullopt : AwaitArgvRecord(file);
    }

    // Files that exist but cannot run, and directories, each for its own reason.
    void makeTroubleFiles() {
        fs::create_directories(dir_ / "bin" / "kw-dir");
        fs::create_directory(dir_ / "sub");
        WriteFile(dir_ / "plain", "#!/bin/sh\n", fs::perms::owner_read | fs::perms::owner_write);
        WriteFile(dir_ / "bin" / "kw-plain", "#!/bin/sh\n", fs::perms::owner_read);
        WriteFile(dir_ / "bad-interpreter", "#!/nonexistent/kw-interpreter\n",
                  fs::perms::owner_all);
        WriteFile(dir_ / "no-format", "echo would need a shell\n", fs::perms::owner_all);
    }

    PosixLauncher launcher_;
    fs::path dir_;
    int runs_ = 0;
};

struct HostileCase {
    std::string caller;
    std::string called;
};

TEST_F(PosixLauncherTest, HostileNumbersArriveAsDataInTheirOwnWords) {
    const std::string marker = (dir_ / "pwned").string();
    const HostileCase cases[] = {
        {"$(id)", "$(id)"},
        {"`touch " + marker + "`", "`id`"},
        {"; touch " + marker, "&& touch " + marker},
        {"& touch " + marker + " &", "| touch " + marker},
        {"> " + marker, "< /etc/passwd"},
        {"$(touch " + marker + ")", "\n touch " + marker},
        {"'", "\""},
        {"\"", "'"},
        {"' \"x\" '", "\"; x; \""},
        {"-rf", "--help"},
        {"1\n2", "3\t4"},
        {std::string(10000, '7'), std::string(10000, ' ')},
        {"  0 30  1234 ", " "},
        {"*", "~"},
        {"\\", "\\\\\"\\"},
        {"{MSN}", "{AnrufNummer}"},
        {"☎ +49 (0)30 – Zürich", "\xff\xfe"},
        {"", ""},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.caller.substr(0, 40) + " / " + c.called.substr(0, 40));
        const std::optional<ArgvRecord> record = run(FillTemplate(
            "'" + Recorder() + "' --caller={AnrufNummer} \"{MSN}\" x", c.caller, c.called));
        ASSERT_TRUE(record);
        // A {MSN} in the caller number is filled in as well, still as number text.
        const std::string caller = c.caller == "{MSN}" ? c.called : c.caller;
        const std::vector<std::string> expected = {Recorder(), "--caller=" + caller, c.called, "x"};
        EXPECT_EQ(record->argv, expected);
    }
    EXPECT_FALSE(fs::exists(marker));
}

TEST_F(PosixLauncherTest, BareNameIsFoundOnPathAndKeptAsArgvZero) {
    fs::create_directory(dir_ / "bin");
    fs::create_symlink(Recorder(), dir_ / "bin" / "kw-rec");
    const ScopedEnv path("PATH", (dir_ / "bin").string() + ":/usr/bin:/bin");
    const std::optional<ArgvRecord> record = run(FillTemplate("kw-rec {AnrufNummer}", "030 1", ""));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->argv, (std::vector<std::string>{"kw-rec", "030 1"}));
}

// Replaces standard input for a while, so a child that inherits it would notice.
class StdinFromPipe {
  public:
    StdinFromPipe() : saved_(::dup(STDIN_FILENO)) {
        int ends[2];
        if (::pipe(ends) == 0) {
            ::dup2(ends[0], STDIN_FILENO);
            ::close(ends[0]);
            ::close(ends[1]);
        }
    }
    ~StdinFromPipe() {
        ::dup2(saved_, STDIN_FILENO);
        ::close(saved_);
    }
    StdinFromPipe(const StdinFromPipe&) = delete;
    StdinFromPipe& operator=(const StdinFromPipe&) = delete;

  private:
    int saved_;
};

TEST_F(PosixLauncherTest, ProgramRunsDetachedWithDefaultSignals) {
    const StdinFromPipe stdinFromPipe;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previousPipe {};
    ::sigaction(SIGPIPE, &ignore, &previousPipe);
    sigset_t usr1;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    sigset_t previousMask;
    ::pthread_sigmask(SIG_BLOCK, &usr1, &previousMask);

    const std::optional<ArgvRecord> record = run(FillTemplate("'" + Recorder() + "'", "", ""));

    ::pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    ::sigaction(SIGPIPE, &previousPipe, nullptr);
    ASSERT_TRUE(record);
    EXPECT_NE(record->session, std::to_string(::getsid(0)));
    EXPECT_TRUE(record->stdinIsDevNull);
    EXPECT_TRUE(record->sigpipeDefault);
    EXPECT_TRUE(record->noSignalBlocked);
}

TEST_F(PosixLauncherTest, ProgramThatEndsAtOnceLeavesNoZombie) {
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(launcher_.startProgram(FillTemplate("true", "", "")));
        EXPECT_TRUE(NoChildLeft());
    }
}

struct FailureCase {
    std::string shellTemplate;
    int number;
};

TEST_F(PosixLauncherTest, ProgramsThatCannotStartFailWithTheirNumber) {
    const std::string dir = dir_.string();
    makeTroubleFiles();
    const ScopedEnv path("PATH", dir + "/bin:/usr/bin:/bin");

    const FailureCase cases[] = {
        {"/nonexistent/kw-no-such-program a", 53},
        {"kw-no-such-program-on-path", 53},
        {dir + "/missing/prog", 53},
        {dir + "/plain", 70},
        {"kw-plain", 70},
        {dir + "/sub", 75},
        {"kw-dir", 75},
        {dir + "/bad-interpreter x", 75},
        {dir + "/no-format", 75},
        {"", 5},
        {" \t\n", 5},
        {"'" + Recorder() + " x", 5},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.shellTemplate);
        const MaybeFailure failure = launcher_.startProgram(FillTemplate(c.shellTemplate, "", ""));
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->number, c.number);
        EXPECT_FALSE(failure->description.empty());
        EXPECT_TRUE(NoChildLeft());
    }
}

struct RefusalCase {
    std::string shellTemplate;
    std::string caller;
};

TEST_F(PosixLauncherTest, ProgramNamedByANumberIsRefused) {
    const RefusalCase cases[] = {
        {"{AnrufNummer} x", Recorder()},      // the number is the program
        {"\"{AnrufNummer}\" x", Recorder()},  // quotes do not make it template text
        {"{AnrufNummer}", ""},                // an empty number still marks the word
        {Recorder() + "{MSN}", ""},           // part of the program's name
        {"'{MSN}'" + Recorder(), ""},         // an empty part too
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.shellTemplate);
        const fs::path file = dir_ / "record";
        const ScopedEnv recordTo("KW_RECORD_FILE", file.string());
        const MaybeFailure failure =
            launcher_.startProgram(FillTemplate(c.shellTemplate, c.caller, ""));
        ASSERT_TRUE(failure);
        EXPECT_EQ(*failure, (Failure{5, std::string(kNumberDecidesTarget)}));
        EXPECT_TRUE(NoChildLeft());
        EXPECT_FALSE(fs::exists(file));
    }
}

struct SpawnCase {
    std::string path;
    std::vector<std::string> arguments;
    int number;
};

// Files can change between the search and the start; the start must still tell them apart.
TEST_F(PosixLauncherTest, SpawnReportsExecErrors) {
    const std::string dir = dir_.string();
    makeTroubleFiles();
    const SpawnCase cases[] = {
        {dir + "/gone", {"gone"}, 53},
        {dir + "/plain", {"plain"}, 70},
        {dir + "/sub", {"sub"}, 75},
        {dir + "/bad-interpreter", {"bad-interpreter"}, 75},
        {dir + "/no-format", {"no-format"}, 75},
        {Recorder(), {"rec", std::string("a\0b", 3)}, 5},
    };
    for (const SpawnCase& c : cases) {
        SCOPED_TRACE(c.path);
        const MaybeFailure failure = SpawnDetached(c.path, c.arguments);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->number, c.number);
        EXPECT_TRUE(NoChildLeft());
    }
}

TEST_F(PosixLauncherTest, AddressGoesToXdgOpenWithNumbersEncoded) {
    fs::create_directory(dir_ / "bin");
    fs::create_symlink(Recorder(), dir_ / "bin" / "xdg-open");
    const ScopedEnv path("PATH", (dir_ / "bin").string());
    const fs::path file = dir_ / "address";
    const ScopedEnv recordTo("KW_RECORD_FILE", file.string());

    launcher_.openAddress(FillTemplate("www.example.org/?n={AnrufNummer}", "+49 30&x=1", ""));

    EXPECT_TRUE(NoChildLeft());
    const std::optional<ArgvRecord> record = AwaitArgvRecord(file);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->argv, (std::vector<std::string>{
                                "xdg-open", "http://www.example.org/?n=%2B49%2030%26x%3D1"}));
}

TEST_F(PosixLauncherTest, AddressWithoutXdgOpenIsQuietlyDropped) {
    const ScopedEnv path("PATH", dir_.string());
    launcher_.openAddress(FillTemplate("http://example.org/{AnrufNummer}", "1", ""));
    EXPECT_TRUE(NoChildLeft());
}

}  // namespace
}  // namespace kw::posix
