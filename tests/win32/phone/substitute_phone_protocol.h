#pragma once

#include "platform/win32/windows_api.h"

#include <oaidl.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace kw::test::phone {

// The substitute softphone control: an in-process ActiveX control registered under the ProgID
// that the program hosts, so that the tests need nothing beyond Wine.
inline constexpr wchar_t kProgId[] = L"PhonerActiveX.axPhoner";
inline constexpr CLSID kClassId = {
    0xab5c3677, 0xdec4, 0x4329, {0xb8, 0x6b, 0xb0, 0x5f, 0x56, 0x4a, 0x66, 0x3f}};
inline constexpr wchar_t kClassIdText[] = L"{AB5C3677-DEC4-4329-B86B-B05F564A663F}";
// The default source interface (DPhoneEvents in substitute_phone.idl).
inline constexpr IID kEventsId = {
    0x58390113, 0x7cb9, 0x4bcf, {0xa3, 0x56, 0xb9, 0xec, 0xb0, 0x54, 0xa3, 0xa1}};
inline constexpr wchar_t kServerFile[] = L"kw_substitute_phone.dll";

// The control's window, a child of the host's box.
inline constexpr wchar_t kWindowClass[] = L"KlingelwartTestPhone";

// The call event in the default source interface. The name must equal the host's
// kw::winui::kCallEventName (a test compares them); the substitute does not include the host.
inline constexpr wchar_t kCallEventName[] = L"IncomingCall";
inline constexpr DISPID kCallEventId = 7;

// WM_COPYDATA to the control's window with this dwData and a payload of UTF-16
// "<caller>\0<called>\0" rings: the event goes synchronously to every advised sink, with caller
// and called as VT_BSTR|VT_BYREF and the line 0 as VT_I4. The caller ends at the first NUL, the
// called number runs to the final NUL, so only the called number can hold NULs of its own.
// The result is the number of sinks called, -1 when none is advised, 0 for a malformed payload.
inline constexpr ULONG_PTR kRingId = 0x4B57'5249;
inline constexpr std::size_t kMaxRingBytes = std::size_t{1} << 20;

// Counts of rings after which every sink had left both texts alone, and of rings after which
// one had changed a reference or its text; sent to the control's window.
inline constexpr UINT kUntouchedRingsMessage = WM_APP + 0x71;
inline constexpr UINT kTouchedRingsMessage = WM_APP + 0x72;

inline std::wstring RingPayload(std::wstring_view caller, std::wstring_view called) {
    std::wstring payload(caller);
    payload += L'\0';
    payload += called;
    payload += L'\0';
    return payload;
}

inline LRESULT Ring(HWND phone, std::wstring_view caller, std::wstring_view called) {
    std::wstring payload = RingPayload(caller, called);
    COPYDATASTRUCT data{};
    data.dwData = kRingId;
    data.cbData = static_cast<DWORD>(payload.size() * sizeof(wchar_t));
    data.lpData = payload.data();
    return SendMessageW(phone, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

}  // namespace kw::test::phone
