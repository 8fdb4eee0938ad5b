#include "platform/win32/phone/call_event_lookup.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <ocidl.h>

#include <string_view>

#include "platform/win32/com/com_ptr.h"
#include "platform/win32/com/ole_apartment.h"
#include "tests/win32/phone/substitute_phone_protocol.h"

namespace kw::win32 {
namespace {

static_assert(std::wstring_view(kCallEventName) ==
                  std::wstring_view(kw::test::phone::kCallEventName),
              "the substitute must fire the event under the host's name");

class CallEventLookupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(apartment.ok());
        ASSERT_EQ(CoCreateInstance(kw::test::phone::kClassId, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IUnknown, control.putVoid()),
                  S_OK)
            << "is the substitute phone control registered?";
        ComPtr<IProvideClassInfo> provider;
        ASSERT_EQ(control->QueryInterface(IID_IProvideClassInfo, provider.putVoid()), S_OK);
        ASSERT_EQ(provider->GetClassInfo(coclass.put()), S_OK);
    }

    win32::OleApartment apartment;
    ComPtr<IUnknown> control;
    ComPtr<ITypeInfo> coclass;
};

TEST_F(CallEventLookupTest, FindsTheEventByNameOrElseByItsSignature) {
    // The substitute's events around the call event have two texts by reference too, or three
    // parameters, but not both in the right places.
    for (const std::wstring_view name :
         {std::wstring_view(kCallEventName), std::wstring_view(L"AnrufKommt"),
          std::wstring_view(L"")}) {
        CallEvent found;
        EXPECT_EQ(FindCallEventIn(*coclass.get(), name, found), S_OK);
        EXPECT_EQ(found.id, kw::test::phone::kCallEventId);
        EXPECT_TRUE(IsEqualIID(found.source, kw::test::phone::kEventsId));
    }
}

TEST_F(CallEventLookupTest, ReadsTheControlsOwnClassInformation) {
    CallEvent found;
    ASSERT_EQ(FindCallEvent(*control.get(), found), S_OK);
    EXPECT_EQ(found.id, kw::test::phone::kCallEventId);
    EXPECT_TRUE(IsEqualIID(found.source, kw::test::phone::kEventsId));
}

TEST_F(CallEventLookupTest, NeedsACoclass) {
    ComPtr<ITypeLib> library;
    UINT index = 0;
    ASSERT_EQ(coclass->GetContainingTypeLib(library.put(), &index), S_OK);
    ComPtr<ITypeInfo> events;
    ASSERT_EQ(library->GetTypeInfoOfGuid(kw::test::phone::kEventsId, events.put()), S_OK);
    CallEvent found;
    EXPECT_TRUE(FAILED(FindCallEventIn(*events.get(), kCallEventName, found)));
    EXPECT_EQ(found.id, DISPID_UNKNOWN);
}

}  // namespace
}  // namespace kw::win32
