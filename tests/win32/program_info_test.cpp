#include "platform/win32/win32_program_info.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/win32/wide_text.h"
#include "tests/win32/win32_test_util.h"

namespace kw::win32 {
namespace {

namespace fs = std::filesystem;

TEST(Win32ProgramInfo, DirectoryIsTheOneOfTheRunningExecutable) {
    Win32ProgramInfo info;
    const std::string directory = info.directory();
    EXPECT_EQ(Utf8ToWide(directory), test::ProgramDirectory().wstring());
    EXPECT_NE(directory.back(), '\\');
    EXPECT_TRUE(fs::exists(fs::path(Utf8ToWide(directory)) / "kw_win32_tests.exe"));
    EXPECT_EQ(info.pathSeparator(), '\\');
}

TEST(Win32ProgramInfo, VersionComesFromTheResourceOrTheProjectVersion) {
    // The test program has no version resource: the project version it was built from.
    const platform::ProgramVersion own = Win32ProgramInfo().version();
    EXPECT_EQ(own.major, 2);
    EXPECT_EQ(own.minor, 0);
    EXPECT_EQ(own.revision, 0);
    EXPECT_FALSE(Win32ProgramInfo::fileVersion(Win32ProgramInfo::modulePath()));

    // The recorder carries FILEVERSION 7,8,9,10.
    const auto recorder = Win32ProgramInfo::fileVersion(
        (test::ProgramDirectory() / "kw_win_argv_recorder.exe").wstring());
    ASSERT_TRUE(recorder);
    EXPECT_EQ(recorder->major, 7);
    EXPECT_EQ(recorder->minor, 8);
    EXPECT_EQ(recorder->revision, 9);

    EXPECT_FALSE(Win32ProgramInfo::fileVersion(L"C:\\does\\not\\exist.exe"));
}

}  // namespace
}  // namespace kw::win32
