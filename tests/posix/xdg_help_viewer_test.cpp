#include "platform/posix/xdg_help_viewer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/posix/argv_record.h"
#include "tests/posix/posix_test_support.h"

namespace kw::posix {
namespace {

using testing::NoChildLeft;
using testing::ScopedEnv;
using testing::TempDir;

// The opener's arguments, without its own name; empty when it did not run.
std::vector<std::string> OpenedArguments(const std::string& recordFile) {
    const std::optional<testing::ArgvRecord> record = testing::AwaitArgvRecord(recordFile);
    if (!record || record->argv.empty()) {
        return {};
    }
    return std::vector<std::string>(record->argv.begin() + 1, record->argv.end());
}

void Touch(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << "x";
}

class ScopedCurrentDirectory {
  public:
    explicit ScopedCurrentDirectory(const std::string& path)
        : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~ScopedCurrentDirectory() { std::filesystem::current_path(old_); }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

  private:
    std::filesystem::path old_;
};

class XdgHelpViewerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.path().empty());
        ASSERT_EQ(::mkdir((dir_ / "bin").c_str(), 0755), 0);
        ASSERT_EQ(::symlink(KW_ARGV_RECORDER, (dir_ / "bin/xdg-open").c_str()), 0);
    }

    // A stand-in for xdg-mime that names a viewer for compiled help files, or none.
    void FakeXdgMime(bool handler) {
        const std::string script = dir_ / "bin/xdg-mime";
        std::ofstream(script) << "#!/bin/sh\n"
                              << "[ \"$*\" = 'query default application/vnd.ms-htmlhelp' ] || "
                                 "exit 2\n"
                              << (handler ? "echo chm-viewer.desktop\n" : "echo\n");
        ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
    }

    std::vector<std::string> OpenAndRecord(const std::string& helpFile) {
        const ScopedEnv path("PATH", dir_ / "bin");
        const ScopedEnv record("KW_RECORD_FILE", dir_ / "record");
        XdgHelpViewer viewer;
        viewer.open(helpFile);
        EXPECT_TRUE(NoChildLeft());
        return OpenedArguments(dir_ / "record");
    }

    TempDir dir_;
};

TEST_F(XdgHelpViewerTest, ChoosesBetweenCompiledFileAndHtmlManual) {
    struct Case {
        const char* name;
        const char* program;  // directory of the program below the test directory
        bool chm;
        const char* manual;    // below the test directory, or "" for none
        bool handler;          // whether xdg-mime names a viewer for .chm files
        bool xdgMime;          // whether there is an xdg-mime at all
        const char* expected;  // below the test directory
    };
    const Case cases[] = {
        {"viewer there", "app", true, "app/handbuch/index.html", true, true,
         "app/KLINGELWART2.chm"},
        {"no viewer", "app", true, "app/handbuch/index.html", false, true,
         "app/handbuch/index.html"},
        {"no xdg-mime", "app", true, "app/handbuch/index.html", false, false,
         "app/handbuch/index.html"},
        {"installed", "usr/bin", true, "usr/share/doc/klingelwart/handbuch/index.html", false, true,
         "usr/share/doc/klingelwart/handbuch/index.html"},
        {"beside wins", "usr/bin", true, "usr/bin/handbuch/index.html", false, true,
         "usr/bin/handbuch/index.html"},
        {"no compiled file", "app", false, "app/handbuch/index.html", true, true,
         "app/handbuch/index.html"},
        {"no manual", "app", true, "", false, true, "app/KLINGELWART2.chm"},
        {"nothing", "app", false, "", true, true, "app/KLINGELWART2.chm"},
        {"hostile names", "a b/it's \"q\"/$(touch pwned)`touch pwned`", true,
         "a b/it's \"q\"/$(touch pwned)`touch pwned`/handbuch/index.html", false, true,
         "a b/it's \"q\"/$(touch pwned)`touch pwned`/handbuch/index.html"},
        {"hostile names, viewer", "a b/$(touch pwned);x", true,
         "a b/$(touch pwned);x/handbuch/index.html", true, true,
         "a b/$(touch pwned);x/KLINGELWART2.chm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir_ / "app");
        std::filesystem::remove_all(dir_ / "usr");
        std::filesystem::remove_all(dir_ / "a b");
        std::filesystem::remove(dir_ / "bin/xdg-mime");
        std::filesystem::remove(dir_ / "record");
        const std::string helpFile = dir_ / (std::string(c.program) + "/KLINGELWART2.chm");
        std::filesystem::create_directories(dir_ / c.program);
        if (c.chm) {
            Touch(helpFile);
        }
        if (*c.manual != '\0') {
            Touch(dir_ / c.manual);
        }
        if (c.xdgMime) {
            FakeXdgMime(c.handler);
        }
        EXPECT_EQ(OpenAndRecord(helpFile), std::vector<std::string>{dir_ / c.expected});
        EXPECT_FALSE(std::filesystem::exists(dir_ / "pwned"));
    }
}

TEST_F(XdgHelpViewerTest, PathsLikeAnOptionAreMadeRelative) {
    struct Case {
        const char* name;
        bool chm;
        bool manual;
        bool handler;
        std::string expected;  // relative "./..." or below the test directory
    };
    const Case cases[] = {
        {"nothing there", false, false, false, "./--help/KLINGELWART2.chm"},
        {"viewer there", true, true, true, "./--help/KLINGELWART2.chm"},
        {"manual", true, true, false, dir_ / "--help/handbuch/index.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir_ / "--help");
        std::filesystem::remove(dir_ / "record");
        std::filesystem::create_directories(dir_ / "--help");
        if (c.chm) {
            Touch(dir_ / "--help/KLINGELWART2.chm");
        }
        if (c.manual) {
            Touch(dir_ / "--help/handbuch/index.html");
        }
        FakeXdgMime(c.handler);
        const ScopedCurrentDirectory inside(dir_.path());
        EXPECT_EQ(OpenAndRecord("--help/KLINGELWART2.chm"), std::vector<std::string>{c.expected});
    }
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
