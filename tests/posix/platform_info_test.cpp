#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/posix/posix_program_info.h"

namespace kw::posix {
namespace {

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

}  // namespace
}  // namespace kw::posix
