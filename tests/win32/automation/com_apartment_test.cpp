#include "platform/win32/com/com_apartment.h"

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <objbase.h>

#include <thread>

namespace kw::win32 {
namespace {

// Runs `body` on a fresh thread, which starts outside any apartment.
template <class Body>
void OnFreshThread(Body body) {
    std::thread(body).join();
}

TEST(ComApartmentTest, NestedApartmentsBalanceTheirInitialisation) {
    HRESULT afterwards = E_FAIL;
    OnFreshThread([&] {
        {
            ComApartment outer;
            ComApartment inner;
            EXPECT_TRUE(outer.ok());
            EXPECT_TRUE(inner.ok());
        }
        // Both have uninitialised: the thread can join the other model now.
        afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(afterwards)) {
            CoUninitialize();
        }
    });
    EXPECT_EQ(afterwards, S_OK);
}

TEST(ComApartmentTest, AThreadOfTheOtherModelStaysInitialised) {
    HRESULT afterwards = E_FAIL;
    bool usable = false;
    OnFreshThread([&] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            ComApartment apartment;  // RPC_E_CHANGED_MODE
            usable = apartment.ok();
        }
        afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CoUninitialize();
        CoUninitialize();
    });
    EXPECT_TRUE(usable);
    EXPECT_EQ(afterwards, S_FALSE);
}

}  // namespace
}  // namespace kw::win32
