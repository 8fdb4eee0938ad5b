#include "platform/win32/named_mutex_instance_guard.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/win32/windows_api.h"

namespace kw::win32 {
namespace {

std::string TestProgram() {
    return "Klingelwart Test " + std::to_string(GetCurrentProcessId());
}

TEST(NamedMutexInstanceGuard, NameLivesInTheSessionAndNamesTheUser) {
    const std::wstring name = NamedMutexInstanceGuard::mutexName("Klingelwart");
    EXPECT_EQ(name.rfind(L"Local\\Klingelwart-", 0), 0U);
    EXPECT_GT(name.size(), std::wstring(L"Local\\Klingelwart-").size());
    EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos);
    EXPECT_EQ(NamedMutexInstanceGuard::mutexName("a\\b").find(L'\\', 6), std::wstring::npos);
}

TEST(NamedMutexInstanceGuard, SecondClaimSeesTheFirstAndAReleasedClaimIsFree) {
    auto first = std::make_unique<NamedMutexInstanceGuard>(TestProgram());
    EXPECT_FALSE(first->previousInstanceRunning());
    {
        const NamedMutexInstanceGuard second(TestProgram());
        EXPECT_TRUE(second.previousInstanceRunning());
    }
    EXPECT_FALSE(NamedMutexInstanceGuard(TestProgram() + " other").previousInstanceRunning());
    first.reset();
    const NamedMutexInstanceGuard again(TestProgram());
    EXPECT_FALSE(again.previousInstanceRunning());
}

// Another process holds the claim: the guard sees it while that process lives and not after it
// has ended, however it ended.
TEST(NamedMutexInstanceGuard, ClaimOfAnotherProcessEndsWithThatProcess) {
    const std::wstring name = NamedMutexInstanceGuard::mutexName(TestProgram());
    // The child of this test: a program that opens the same name and waits to be killed.
    std::wstring line = L"cmd.exe /c pause";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    // A suspended child has a handle table: give it a duplicate of a mutex handle.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    ASSERT_NE(mutex, nullptr);
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                               CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                               &child));
    HANDLE inChild = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), mutex, child.hProcess, &inChild, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    CloseHandle(mutex);

    EXPECT_TRUE(NamedMutexInstanceGuard(TestProgram()).previousInstanceRunning());

    TerminateProcess(child.hProcess, 1);  // as if it crashed
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 30'000), WAIT_OBJECT_0);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_FALSE(NamedMutexInstanceGuard(TestProgram()).previousInstanceRunning());
}

}  // namespace
}  // namespace kw::win32
