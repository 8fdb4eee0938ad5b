#include "platform/win32/run_key_autostart.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/windows_api.h"
#include "tests/win32/registry_values.h"

namespace kw::win32 {
namespace {

// A Run key of the test's own, so the prefix's real one is never touched.
class RunKeyAutostartTest : public ::testing::Test {
  protected:
    RunKeyAutostartTest()
        : key_(L"Software\\Klingelwart Test Run " + std::to_wstring(GetCurrentProcessId())) {
        RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str());
    }
    ~RunKeyAutostartTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

    std::wstring key_;
};

TEST_F(RunKeyAutostartTest, WritesTheQuotedPathAndRemovesItAgain) {
    RunKeyAutostart autostart(L"C:\\Program Files\\Klingelwart\\Klingelwart.exe", key_);
    EXPECT_FALSE(autostart.enabled().value());
    EXPECT_FALSE(autostart.set(false));  // nothing to remove, not even the key, is no failure
    ASSERT_FALSE(autostart.set(true));
    ASSERT_FALSE(autostart.set(true));
    EXPECT_TRUE(autostart.enabled().value());
    const auto values = test::RegistryValues(HKEY_CURRENT_USER, key_.c_str());
    ASSERT_TRUE(values);
    EXPECT_EQ(values->at(L"Klingelwart"), L"\"C:\\Program Files\\Klingelwart\\Klingelwart.exe\"");
    EXPECT_EQ(values->size(), 1u);
    ASSERT_FALSE(autostart.set(false));
    EXPECT_FALSE(autostart.enabled().value());
    EXPECT_TRUE(test::RegistryValues(HKEY_CURRENT_USER, key_.c_str())->empty());
}

TEST_F(RunKeyAutostartTest, AnEntryWrittenByOthersCountsAsOn) {
    ASSERT_EQ(
        RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"Klingelwart", REG_EXPAND_SZ, L"x", 4),
        ERROR_SUCCESS);
    EXPECT_TRUE(RunKeyAutostart(L"C:\\k.exe", key_).enabled().value());
}

}  // namespace
}  // namespace kw::win32
