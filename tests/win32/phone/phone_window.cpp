#include "tests/win32/phone/phone_window.h"

#include <algorithm>
#include <string_view>

#include "tests/win32/own_module.h"
#include "tests/win32/phone/call_connection_point.h"
#include "tests/win32/phone/substitute_phone_protocol.h"

namespace kw::test::phone {

namespace {

CallConnectionPoint* CallsOf(HWND window) {
    return reinterpret_cast<CallConnectionPoint*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

HWND PhoneWindow::Create(HWND parent, const RECT& box, CallConnectionPoint* calls) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &PhoneWindow::Procedure;
    windowClass.hInstance = OwnModule();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // already there for the second control: fine
    return CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE, box.left, box.top,
                           box.right - box.left, box.bottom - box.top, parent, nullptr, OwnModule(),
                           calls);
}

LRESULT CALLBACK PhoneWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_COPYDATA: {
            CallConnectionPoint* calls = CallsOf(window);
            return calls == nullptr ? 0
                                    : Ring(*calls, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        }
        case kUntouchedRingsMessage:
            return CallsOf(window) == nullptr ? -1 : CallsOf(window)->untouchedRings();
        case kTouchedRingsMessage:
            return CallsOf(window) == nullptr ? -1 : CallsOf(window)->touchedRings();
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT PhoneWindow::Ring(CallConnectionPoint& calls, const COPYDATASTRUCT* data) {
    if (data == nullptr || data->dwData != kRingId || data->cbData > kMaxRingBytes ||
        data->cbData % sizeof(wchar_t) != 0 || data->lpData == nullptr) {
        return 0;
    }
    const std::wstring_view payload(static_cast<const wchar_t*>(data->lpData),
                                    data->cbData / sizeof(wchar_t));
    const std::size_t end = payload.find(L'\0');
    if (payload.empty() || payload.back() != L'\0' || end == payload.size() - 1) {
        return 0;
    }
    const std::wstring_view caller = payload.substr(0, end);
    const std::wstring_view called = payload.substr(end + 1, payload.size() - end - 2);
    // The window may be gone when this returns: a sink may close the control.
    return calls.ring(caller, called);
}

void PhoneWindow::Paint(HWND window) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT area{};
    GetClientRect(window, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
    const int size = std::min(area.right - area.left, area.bottom - area.top) * 2 / 3;
    const int left = area.left + (area.right - area.left - size) / 2;
    const int top = area.top + (area.bottom - area.top - size) / 2;
    HBRUSH green = CreateSolidBrush(RGB(0, 128, 64));
    HGDIOBJ previous = SelectObject(dc, green);
    RoundRect(dc, left, top, left + size, top + size / 4, size / 6, size / 6);
    RoundRect(dc, left + size / 6, top + size / 3, left + size * 5 / 6, top + size, size / 8,
              size / 8);
    SelectObject(dc, previous);
    DeleteObject(green);
    EndPaint(window, &paint);
}

}  // namespace kw::test::phone
