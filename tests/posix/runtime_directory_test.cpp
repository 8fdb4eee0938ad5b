#include "platform/posix/runtime_directory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "posix_test_support.h"

namespace kw::posix {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

mode_t ModeOf(const std::string& path) {
    struct stat found {};
    EXPECT_EQ(::lstat(path.c_str(), &found), 0) << path;
    return found.st_mode & 07777;
}

std::string FallbackIn(const TempDir& parent) {
    return parent / ("klingelwart-" + std::to_string(::geteuid()));
}

class RuntimeDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(xdg_.path().empty());
        ASSERT_FALSE(fallback_.path().empty());
    }
    TempDir xdg_;
    TempDir fallback_;
};

TEST_F(RuntimeDirectoryTest, CreatedInXdgRuntimeDirWithMode0700) {
    const mode_t old = ::umask(0);  // even with a permissive umask
    Result<std::string> directory = PrivateRuntimeDirectoryIn(xdg_.path(), fallback_.path());
    ::umask(old);
    ASSERT_TRUE(directory.ok()) << directory.failure().description;
    EXPECT_EQ(directory.value(), xdg_ / "klingelwart");
    EXPECT_EQ(ModeOf(directory.value()), 0700u);
    // Found again the second time.
    Result<std::string> again = PrivateRuntimeDirectoryIn(xdg_.path() + "/", fallback_.path());
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.value(), directory.value());
}

TEST_F(RuntimeDirectoryTest, RestrictiveUmaskStillGives0700) {
    const mode_t old = ::umask(0777);
    Result<std::string> directory = PrivateRuntimeDirectoryIn(xdg_.path(), fallback_.path());
    ::umask(old);
    ASSERT_TRUE(directory.ok()) << directory.failure().description;
    EXPECT_EQ(ModeOf(directory.value()), 0700u);
}

TEST_F(RuntimeDirectoryTest, EnvironmentVariableIsRead) {
    const ScopedEnv env("XDG_RUNTIME_DIR", xdg_.path());
    Result<std::string> directory = PrivateRuntimeDirectory();
    ASSERT_TRUE(directory.ok()) << directory.failure().description;
    EXPECT_EQ(directory.value(), xdg_ / "klingelwart");
}

TEST_F(RuntimeDirectoryTest, UnsetEmptyOrRelativeXdgFallsBack) {
    for (const std::string& value : {std::string(), std::string("relative/dir")}) {
        Result<std::string> directory = PrivateRuntimeDirectoryIn(value, fallback_.path());
        ASSERT_TRUE(directory.ok()) << directory.failure().description;
        EXPECT_EQ(directory.value(), FallbackIn(fallback_));
        EXPECT_EQ(ModeOf(directory.value()), 0700u);
    }
}

TEST_F(RuntimeDirectoryTest, UnusableXdgFallsBack) {
    // Missing, too long for a socket path, and a symbolic link planted as "klingelwart".
    const std::string tooLong = xdg_.path() + "/" + std::string(90, 'x');
    ASSERT_EQ(::mkdir(tooLong.c_str(), 0700), 0);
    ASSERT_EQ(::symlink(fallback_.path().c_str(), (xdg_ / "klingelwart").c_str()), 0);
    for (const std::string& value : {xdg_ / "missing", tooLong, xdg_.path()}) {
        Result<std::string> directory = PrivateRuntimeDirectoryIn(value, fallback_.path());
        ASSERT_TRUE(directory.ok()) << directory.failure().description;
        EXPECT_EQ(directory.value(), FallbackIn(fallback_)) << value;
    }
}

TEST_F(RuntimeDirectoryTest, OwnDirectoryWithWiderModeIsNarrowed) {
    const std::string path = FallbackIn(fallback_);
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0777), 0);
    Result<std::string> directory = PrivateRuntimeDirectoryIn("", fallback_.path());
    ASSERT_TRUE(directory.ok()) << directory.failure().description;
    EXPECT_EQ(ModeOf(path), 0700u);
}

TEST_F(RuntimeDirectoryTest, SymbolicLinkIsRefused) {
    const std::string target = fallback_ / "elsewhere";
    ASSERT_EQ(::mkdir(target.c_str(), 0700), 0);
    ASSERT_EQ(::symlink(target.c_str(), FallbackIn(fallback_).c_str()), 0);
    Result<std::string> directory = PrivateRuntimeDirectoryIn("", fallback_.path());
    ASSERT_FALSE(directory.ok());
    EXPECT_EQ(directory.failure().number, 70);
    EXPECT_NE(directory.failure().description.find("symbolischer Verweis"), std::string::npos)
        << directory.failure().description;
    EXPECT_NE(directory.failure().description.find(FallbackIn(fallback_)), std::string::npos);
}

TEST_F(RuntimeDirectoryTest, FileInsteadOfDirectoryIsRefused) {
    std::ofstream(FallbackIn(fallback_)) << "x";
    Result<std::string> directory = PrivateRuntimeDirectoryIn("", fallback_.path());
    ASSERT_FALSE(directory.ok());
    EXPECT_EQ(directory.failure().number, 70);
    EXPECT_NE(directory.failure().description.find("kein Verzeichnis"), std::string::npos);
}

TEST_F(RuntimeDirectoryTest, ForeignDirectoryIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to make a directory of another user";
    }
    const std::string path = FallbackIn(fallback_);
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    Result<std::string> directory = PrivateRuntimeDirectoryIn("", fallback_.path());
    ASSERT_FALSE(directory.ok());
    EXPECT_EQ(directory.failure().number, 70);
    EXPECT_NE(directory.failure().description.find("anderen Benutzer"), std::string::npos);
    struct stat found {};
    ASSERT_EQ(::lstat(path.c_str(), &found), 0);
    EXPECT_EQ(found.st_uid, 65534u);  // not taken over
    EXPECT_EQ(found.st_mode & 07777, 0700u);
}

TEST_F(RuntimeDirectoryTest, TooLongFallbackFailsCleanly) {
    const std::string parent = fallback_.path() + "/" + std::string(100, 'p');
    Result<std::string> directory = PrivateRuntimeDirectoryIn("", parent);
    ASSERT_FALSE(directory.ok());
    EXPECT_EQ(directory.failure().number, 76);
    EXPECT_NE(directory.failure().description.find("zu lang"), std::string::npos);
}

TEST_F(RuntimeDirectoryTest, MissingFallbackParentFails) {
    Result<std::string> directory = PrivateRuntimeDirectoryIn("", fallback_ / "missing");
    ASSERT_FALSE(directory.ok());
    EXPECT_EQ(directory.failure().number, 76);
    EXPECT_NE(directory.failure().description.find("kann nicht angelegt werden"), std::string::npos)
        << directory.failure().description;
}

TEST_F(RuntimeDirectoryTest, EveryUsableDirectoryLeavesRoomForTheSocket) {
    // The longest XDG path that is still used, and one byte more.
    const std::size_t room =
        kMaxSocketPathLength - kLongestEntryName - 1 - sizeof("/klingelwart") + 1;
    std::string fits = xdg_.path() + "/";
    fits.append(room - fits.size(), 'f');
    ASSERT_EQ(::mkdir(fits.c_str(), 0700), 0);
    Result<std::string> used = PrivateRuntimeDirectoryIn(fits, fallback_.path());
    ASSERT_TRUE(used.ok());
    EXPECT_EQ(used.value(), fits + "/klingelwart");
    EXPECT_LE(used.value().size() + 1 + std::string("instance.lock").size(), kMaxSocketPathLength);

    const std::string tooLong = fits + "g";
    ASSERT_EQ(::mkdir(tooLong.c_str(), 0700), 0);
    Result<std::string> notUsed = PrivateRuntimeDirectoryIn(tooLong, fallback_.path());
    ASSERT_TRUE(notUsed.ok());
    EXPECT_EQ(notUsed.value(), FallbackIn(fallback_));
}

TEST(PhoneSocketPath, IsInTheDirectory) {
    EXPECT_EQ(PhoneSocketPath("/run/user/1000/klingelwart"),
              "/run/user/1000/klingelwart/phone.sock");
    EXPECT_EQ(PhoneSocketPath("/tmp/x/"), "/tmp/x/phone.sock");
}

}  // namespace
}  // namespace kw::posix
