#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/posix/posix_program_info.h"
#include "platform/posix/xdg_help_viewer.h"
#include "posix_test_support.h"

namespace kw::posix {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

TEST(PosixProgramInfo, DirectoryOfTheRunningExecutable) {
    PosixProgramInfo info;
    const std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe");
    EXPECT_EQ(info.directory(), exe.parent_path().string());
    EXPECT_EQ(info.pathSeparator(), '/');
}

TEST(PosixProgramInfo, VersionIsTheProjectVersion) {
    PosixProgramInfo info;
    const platform::ProgramVersion version = info.version();
    EXPECT_EQ(std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                  std::to_string(version.revision),
              KW_EXPECTED_VERSION);
}

std::string AwaitFile(const std::string& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::ostringstream data;
            data << in.rdbuf();
            return data.str();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {};
}

bool NoChildLeft() {
    errno = 0;
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

class XdgHelpViewerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.path().empty());
        ASSERT_EQ(::mkdir((dir_ / "bin").c_str(), 0755), 0);
        ASSERT_EQ(::symlink(KW_ARGV_RECORDER, (dir_ / "bin/xdg-open").c_str()), 0);
    }
    TempDir dir_;
};

// The recorder writes each field as "<length>:<bytes>\n": four facts, then argv.
TEST_F(XdgHelpViewerTest, OpensThePathWithXdgOpen) {
    const ScopedEnv path("PATH", dir_ / "bin");
    const ScopedEnv record("KW_RECORD_FILE", dir_ / "record");
    XdgHelpViewer viewer;
    viewer.open("/usr/share/doc/klingelwart/Hilfe Datei.chm");
    EXPECT_TRUE(NoChildLeft());
    const std::string recorded = AwaitFile(dir_ / "record");
    EXPECT_NE(recorded.find("\n8:xdg-open\n42:/usr/share/doc/klingelwart/Hilfe Datei.chm\n"),
              std::string::npos)
        << recorded;
}

TEST_F(XdgHelpViewerTest, PathLikeAnOptionIsMadeRelative) {
    const ScopedEnv path("PATH", dir_ / "bin");
    const ScopedEnv record("KW_RECORD_FILE", dir_ / "record");
    XdgHelpViewer viewer;
    viewer.open("--help.chm");
    const std::string recorded = AwaitFile(dir_ / "record");
    EXPECT_NE(recorded.find("\n8:xdg-open\n12:./--help.chm\n"), std::string::npos) << recorded;
}

TEST_F(XdgHelpViewerTest, MissingXdgOpenIsIgnored) {
    const ScopedEnv path("PATH", dir_ / "empty");
    XdgHelpViewer viewer;
    viewer.open("/nonexistent/help.chm");
    viewer.open("");
    EXPECT_TRUE(NoChildLeft());
}

}  // namespace
}  // namespace kw::posix
