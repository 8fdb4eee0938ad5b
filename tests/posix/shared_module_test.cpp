#include "platform/posix/shared_module.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/error_numbers.h"
#include "tests/posix/posix_test_support.h"

namespace kw::posix {
namespace {

namespace fs = std::filesystem;

constexpr char kModule[] = "klingelwart-test.so";

struct OpenCase {
    const char* what;
    std::string fileName;
    std::vector<std::string> directories;
    std::int32_t failure;  // 0: opens
    std::string description;
};

class SharedModuleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.path().empty());
        fs::current_path(KW_TEST_MODULE_DIR);
        std::ofstream(dir_ / "text.so") << "kein ELF\n";
        std::ofstream(dir_ / "empty.so");
        std::ofstream(dir_ / kModule) << "kaputt\n";
        fs::create_directory(dir_ / "folder.so");
    }

    testing::TempDir dir_;
};

TEST_F(SharedModuleTest, FirstDirectoryHoldingTheFileDecides) {
    const std::string good = KW_TEST_MODULE_DIR;
    const std::string none = dir_ / "nirgends";
    const std::string& dir = dir_.path();
    const OpenCase cases[] = {
        {"good module", kModule, {good}, 0, ""},
        {"missing directories skipped", kModule, {none, good}, 0, ""},
        {"never from the working directory",
         kModule,
         {"", "."},
         error::kFileNotFound,
         "nicht gefunden"},
        {"broken copy first is no reason to look further",
         kModule,
         {dir, good},
         error::kCannotCreateObject,
         dir},
        {"text file", "text.so", {dir}, error::kCannotCreateObject, "text.so"},
        {"empty file", "empty.so", {dir}, error::kCannotCreateObject, "empty.so"},
        {"directory of that name",
         "folder.so",
         {dir},
         error::kFileNotFound,
         "folder.so nicht gefunden"},
        {"nowhere", "fehlt.so", {dir, good}, error::kFileNotFound, "fehlt.so nicht gefunden"},
        {"no directories", kModule, {}, error::kFileNotFound, "klingelwart-test.so nicht gefunden"},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto module = SharedModule::Open(c.fileName, c.directories);
        if (c.failure == 0) {
            ASSERT_TRUE(module.ok()) << module.failure().description;
            continue;
        }
        ASSERT_FALSE(module.ok());
        EXPECT_EQ(module.failure().number, c.failure);
        EXPECT_NE(module.failure().description.find(c.description), std::string::npos)
            << module.failure().description;
    }
}

TEST_F(SharedModuleTest, EntryPointsByName) {
    auto answer = OpenEntry<int (*)()>(kModule, "kw_test_answer", {KW_TEST_MODULE_DIR});
    ASSERT_TRUE(answer.ok()) << answer.failure().description;
    EXPECT_EQ(answer.value().function(), 42);

    // Only what the module exports is found.
    for (const char* absent : {"kw_absent", "main", ""}) {
        SCOPED_TRACE(absent);
        auto entry = answer.value().module.entry(absent);
        ASSERT_FALSE(entry.ok());
        EXPECT_EQ(entry.failure().description,
                  fs::path(KW_TEST_MODULE_DIR).append(kModule).string() + ": " + absent + " fehlt");
    }
}

}  // namespace
}  // namespace kw::posix
