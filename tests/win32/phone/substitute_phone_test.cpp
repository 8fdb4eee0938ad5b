// The substitute itself: its check of the references must see a sink that writes through them,
// or the hosting tests' "untouched" would prove nothing.
#include <gtest/gtest.h>

#include <objbase.h>
#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>

#include "platform/win32/com/com_ptr.h"
#include "platform/win32/com/ole_apartment.h"
#include "tests/win32/com_object_base.h"
#include "tests/win32/phone/substitute_phone_protocol.h"

namespace kw::test::phone {
namespace {

using win32::ComPtr;

// Replaces the caller's text, as a careless host would.
class WritingSink final : public ComObjectBase<WritingSink, IDispatch> {
  public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        BSTR* caller = parameters->rgvarg[2].pbstrVal;
        SysFreeString(*caller);
        *caller = SysAllocString(L"geändert");
        return S_OK;
    }

  protected:
    void* alsoAnswers(REFIID interfaceId) override {
        return IsEqualIID(interfaceId, kEventsId) ? static_cast<IDispatch*>(this) : nullptr;
    }
};

TEST(SubstitutePhone, CountsRingsAfterWhichASinkChangedTheTexts) {
    const win32::OleApartment apartment;
    ASSERT_TRUE(apartment.ok());
    ComPtr<IOleObject> control;
    ASSERT_EQ(CoCreateInstance(kClassId, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                               control.putVoid()),
              S_OK);
    const RECT box{0, 0, 40, 40};
    ASSERT_EQ(
        control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, GetDesktopWindow(), &box),
        S_OK);
    ComPtr<IOleWindow> inPlace;
    ASSERT_EQ(control->QueryInterface(IID_IOleWindow, inPlace.putVoid()), S_OK);
    HWND window = nullptr;
    ASSERT_EQ(inPlace->GetWindow(&window), S_OK);

    EXPECT_EQ(Ring(window, L"030", L"1"), -1) << "nobody listens yet";
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(control->QueryInterface(IID_IConnectionPointContainer, container.putVoid()), S_OK);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(kEventsId, point.put()), S_OK);
    ComPtr<IDispatch> sink;
    *sink.put() = new WritingSink();
    DWORD first = 0;
    DWORD second = 0;
    ASSERT_EQ(point->Advise(sink.get(), &first), S_OK);
    ASSERT_EQ(point->Advise(sink.get(), &second), S_OK);
    EXPECT_NE(first, second);

    EXPECT_EQ(Ring(window, L"030", L"1"), 2);
    EXPECT_EQ(SendMessageW(window, kTouchedRingsMessage, 0, 0), 1);
    EXPECT_EQ(SendMessageW(window, kUntouchedRingsMessage, 0, 0), 0);

    const std::wstring unterminated = L"030";
    COPYDATASTRUCT data{kRingId, 6, const_cast<wchar_t*>(unterminated.data())};
    EXPECT_EQ(SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);

    EXPECT_EQ(point->Unadvise(first), S_OK);
    EXPECT_EQ(point->Unadvise(first), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(second), S_OK);
    EXPECT_EQ(control->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace kw::test::phone
