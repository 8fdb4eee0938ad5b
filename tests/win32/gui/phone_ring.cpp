#include "tests/win32/gui/phone_ring.h"

#include "tests/win32/gui/poll_until.h"
#include "tests/win32/gui/process_windows.h"
#include "tests/win32/phone/substitute_phone_protocol.h"
#include "ui/win32/control_ids.h"

namespace kw::win32::gui {

namespace {

BOOL CALLBACK StopAtPhone(HWND window, LPARAM found) {
    if (ClassOf(window) == test::phone::kWindowClass) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindPhone(HWND mainWindow) {
    const HWND box = FindDescendant(mainWindow, winui::ControlId("axPhoner1"));
    HWND phone = nullptr;
    if (box != nullptr) {
        EnumChildWindows(box, StopAtPhone, reinterpret_cast<LPARAM>(&phone));
    }
    return phone;
}

bool RingPhone(HWND mainWindow, std::wstring_view caller, std::wstring_view called) {
    const HWND phone = PollFor([&] { return FindPhone(mainWindow); });
    return phone != nullptr && test::phone::Ring(phone, caller, called) > 0;
}

std::optional<LRESULT> RingsWithTouchedTexts(HWND mainWindow) {
    const HWND phone = FindPhone(mainWindow);
    if (phone == nullptr) {
        return std::nullopt;
    }
    return SendMessageW(phone, test::phone::kTouchedRingsMessage, 0, 0);
}

}  // namespace kw::win32::gui
