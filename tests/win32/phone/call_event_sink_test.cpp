#include "platform/win32/phone/call_event_sink.h"

#include <gtest/gtest.h>

#include <ocidl.h>
#include <oleauto.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/com/bstr.h"
#include "platform/win32/com/com_ptr.h"
#include "tests/win32/phone/substitute_phone_protocol.h"

namespace kw::win32 {
namespace {

constexpr CallEvent kEvent{kw::test::phone::kEventsId, kw::test::phone::kCallEventId};

struct Received {
    std::string caller;
    std::string called;
    friend bool operator==(const Received&, const Received&) = default;
};

class CallEventSinkTest : public ::testing::Test {
  protected:
    ComPtr<IDispatch> sink =
        MakeCallEventSink(kEvent, [this](std::string_view caller, std::string_view called) {
            received.push_back({std::string(caller), std::string(called)});
        });
    std::vector<Received> received;

    HRESULT invoke(DISPID member, std::vector<VARIANT> reversed) {
        DISPPARAMS parameters{reversed.empty() ? nullptr : reversed.data(), nullptr,
                              static_cast<UINT>(reversed.size()), 0};
        return sink->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                            nullptr, nullptr, nullptr);
    }
};

VARIANT ByReference(BSTR* text) {
    VARIANT value{};
    value.vt = VT_BSTR | VT_BYREF;
    value.pbstrVal = text;
    return value;
}

VARIANT Line() {
    VARIANT value{};
    value.vt = VT_I4;
    value.lVal = 0;
    return value;
}

TEST_F(CallEventSinkTest, AnswersAsTheSourceInterfaceOnly) {
    const IID answered[] = {IID_IUnknown, IID_IDispatch, kw::test::phone::kEventsId};
    for (const IID& id : answered) {
        ComPtr<IUnknown> object;
        EXPECT_EQ(sink->QueryInterface(id, object.putVoid()), S_OK);
    }
    ComPtr<IUnknown> other;
    EXPECT_EQ(sink->QueryInterface(IID_IConnectionPoint, other.putVoid()), E_NOINTERFACE);
    EXPECT_FALSE(other);
}

TEST_F(CallEventSinkTest, ReadsTextsInEveryFormWithoutWritingThroughReferences) {
    Bstr caller(
        std::wstring_view(L"0\0"
                          L"30 12",
                          6));
    Bstr called(L"4711");
    BSTR const callerBefore = caller.get();
    VARIANT inner{};
    inner.vt = VT_BSTR;
    inner.bstrVal = called.get();
    VARIANT byVariant{};
    byVariant.vt = VT_VARIANT | VT_BYREF;
    byVariant.pvarVal = &inner;
    VARIANT plain{};
    plain.vt = VT_BSTR;
    plain.bstrVal = called.get();
    VARIANT number{};
    number.vt = VT_I4;
    number.lVal = 42;
    BSTR none = nullptr;

    struct Case {
        const char* name;
        VARIANT first;
        VARIANT second;
        Received expected;
    };
    const Case cases[] = {
        {"both by reference, NUL kept",
         ByReference(caller.address()),
         ByReference(called.address()),
         {std::string("0\0"
                      "30 12",
                      6),
          "4711"}},
        {"plain text", plain, plain, {"4711", "4711"}},
        {"variant by reference", byVariant, byVariant, {"4711", "4711"}},
        {"a number becomes text", number, plain, {"42", "4711"}},
        {"null text is empty", ByReference(&none), plain, {"", "4711"}},
    };
    for (const Case& c : cases) {
        received.clear();
        EXPECT_EQ(invoke(kEvent.id, {Line(), c.second, c.first}), S_OK) << c.name;
        EXPECT_EQ(received, std::vector<Received>{c.expected}) << c.name;
    }
    EXPECT_EQ(caller.get(), callerBefore);
    EXPECT_EQ(caller.view(), std::wstring_view(L"0\0"
                                               L"30 12",
                                               6));
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(inner.vt, VT_BSTR);
}

TEST_F(CallEventSinkTest, IgnoresWhatIsNoCallNotification) {
    Bstr text(L"0301234");
    VARIANT empty{};
    empty.vt = VT_NULL;
    VARIANT nullReference{};
    nullReference.vt = VT_VARIANT | VT_BYREF;
    nullReference.pvarVal = nullptr;
    struct Case {
        const char* name;
        DISPID member;
        std::vector<VARIANT> reversed;
    };
    const Case cases[] = {
        {"another event", 1, {Line(), ByReference(text.address()), ByReference(text.address())}},
        {"no arguments", kEvent.id, {}},
        {"two arguments", kEvent.id, {ByReference(text.address()), ByReference(text.address())}},
        {"four arguments",
         kEvent.id,
         {Line(), Line(), ByReference(text.address()), ByReference(text.address())}},
        {"no text at all", kEvent.id, {Line(), empty, ByReference(text.address())}},
        {"variant reference to nothing",
         kEvent.id,
         {Line(), ByReference(text.address()), nullReference}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(invoke(c.member, c.reversed), S_OK) << c.name;
    }
    EXPECT_EQ(
        sink->Invoke(kEvent.id, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
        S_OK);
    EXPECT_TRUE(received.empty());
}

TEST(CallEventSink, AThrowingHandlerStaysOnItsSide) {
    const ComPtr<IDispatch> sink = MakeCallEventSink(
        kEvent, [](std::string_view, std::string_view) { throw std::runtime_error("kaputt"); });
    Bstr text(L"1");
    VARIANT reversed[] = {Line(), ByReference(text.address()), ByReference(text.address())};
    DISPPARAMS parameters{reversed, nullptr, 3, 0};
    EXPECT_EQ(sink->Invoke(kEvent.id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr,
                           nullptr),
              S_OK);
}

}  // namespace
}  // namespace kw::win32
