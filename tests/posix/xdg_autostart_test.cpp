#include "platform/posix/xdg_autostart.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "posix_test_support.h"

namespace kw::posix {
namespace {

using testing::RunProgram;
using testing::TempDir;

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A stand-in program that records the path it was started as.
void WriteRecorder(const std::string& path, const std::string& marker) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << "#!/bin/sh\nprintf '%s' \"$0\" > '" << marker << "'\n";
    ::chmod(path.c_str(), 0755);
}

TEST(XdgAutostart, SwitchesTheEntryAndReadsTheRealState) {
    TempDir dir;
    XdgAutostart autostart(dir / "config", "/usr/bin/klingelwart");
    EXPECT_FALSE(autostart.enabled().value());
    EXPECT_FALSE(autostart.set(false));  // nothing to remove is no failure
    ASSERT_FALSE(autostart.set(true));
    ASSERT_FALSE(autostart.set(true));
    EXPECT_TRUE(autostart.enabled().value());
    EXPECT_EQ(autostart.entryPath(), dir / "config/autostart/klingelwart.desktop");
    // "%" starts a field code; GLib's own check of the program path cannot read it doubled, so
    // this one stays out of the session test below.
    EXPECT_NE(XdgAutostart(dir.path(), "/opt/100%/k").entryText().find("Exec=\"/opt/100%%/k\"\n"),
              std::string::npos);
    // A desktop that switched the entry off without removing it.
    std::ofstream(autostart.entryPath(), std::ios::app) << "Hidden=true\n";
    EXPECT_FALSE(autostart.enabled().value());
    ASSERT_FALSE(autostart.set(false));
    EXPECT_FALSE(std::filesystem::exists(autostart.entryPath()));
}

TEST(XdgAutostart, RefusesInGermanWhenTheDirectoryCannotBeMade) {
    TempDir dir;
    std::ofstream(dir / "config") << "a file where the directory belongs";
    XdgAutostart autostart(dir / "config", "/usr/bin/klingelwart");
    const MaybeFailure failure = autostart.set(true);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->description.find("Autostart-Eintrag"), std::string::npos);
}

// GLib's launcher reads the entry as a session's autostart does: the program starts under its
// exact path, whatever that path holds, and a removed program is skipped, not started broken.
TEST(XdgAutostart, ASessionStartsTheProgramByItsExactPathAndSkipsItOnceRemoved) {
    if (::access("/usr/bin/gio", X_OK) != 0) {
        GTEST_SKIP() << "gio (libglib2.0-bin) fehlt";
    }
    for (const std::string name :
         {"plain", "with blank", "q\"uote", "dollar$HOME", "back\\slash", "tick`id`"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const std::string program = dir / (name + "/klingelwart");
        const std::string marker = dir / "started";
        WriteRecorder(program, marker);
        XdgAutostart autostart(dir / "config", program);
        ASSERT_FALSE(autostart.set(true));

        const auto outcome = RunProgram("/usr/bin/gio", {"launch", autostart.entryPath()});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.standardError;
        for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_EQ(Slurp(marker), program);

        std::filesystem::remove(program);
        EXPECT_NE(RunProgram("/usr/bin/gio", {"launch", autostart.entryPath()}).exitCode, 0);
    }
}

}  // namespace
}  // namespace kw::posix
