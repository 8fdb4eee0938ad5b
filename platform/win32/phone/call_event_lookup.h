#pragma once

#include "platform/win32/windows_api.h"

#include <oaidl.h>

#include <string_view>

namespace kw::win32 {

// The softphone control's notification of an incoming call: caller and called number as texts
// by reference, then the line. The substitute control of the tests uses the same name.
inline constexpr wchar_t kCallEventName[] = L"IncomingCall";

// Where the call notification arrives: the control's default source interface and the event's
// dispatch id in it.
struct CallEvent {
    IID source{};
    DISPID id = DISPID_UNKNOWN;
};

// Reads the control's own type information (IProvideClassInfo).
HRESULT FindCallEvent(IUnknown& control, CallEvent& found);

// Looks in the coclass `coclass` for the event named `eventName` in its default source interface.
HRESULT FindCallEventIn(ITypeInfo& coclass, std::wstring_view eventName, CallEvent& found);

}  // namespace kw::win32
