#include "ui/win32/crossed_phone_box.h"

#include <commctrl.h>

#include <algorithm>

namespace kw::winui {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr COLORREF kPhoneGrey = RGB(128, 128, 128);
constexpr COLORREF kCrossGrey = RGB(80, 80, 80);
// As on Linux: another source takes the calls while the control is missing.
constexpr COLORREF kReceivingGreen = RGB(0x1e, 0x7d, 0x32);

// Selects a GDI object for a scope and deletes it afterwards.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), object_(object) {
        previous_ = SelectObject(dc, object);
    }
    ~SelectedObject() {
        SelectObject(dc_, previous_);
        DeleteObject(object_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ previous_ = nullptr;
};

void DrawPhone(HDC dc, const RECT& area, bool receiving) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const int size = std::min(area.right - area.left, area.bottom - area.top) * 3 / 4;
    if (size < 8) {
        return;
    }
    const int left = area.left + (area.right - area.left - size) / 2;
    const int top = area.top + (area.bottom - area.top - size) / 2;
    const int line = std::max(1, size / 12);
    const COLORREF colour = receiving ? kReceivingGreen : kPhoneGrey;
    {
        const SelectedObject pen(dc, CreatePen(PS_SOLID, line, colour));
        const SelectedObject brush(dc, CreateSolidBrush(colour));
        // The handset, then the base with its dial.
        RoundRect(dc, left, top, left + size, top + size / 4, size / 6, size / 6);
        RoundRect(dc, left + size / 6, top + size / 3, left + size * 5 / 6, top + size, size / 8,
                  size / 8);
    }
    {
        const SelectedObject pen(dc, CreatePen(PS_SOLID, line, GetSysColor(COLOR_BTNFACE)));
        const SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
        Ellipse(dc, left + size * 3 / 8, top + size / 2, left + size * 5 / 8, top + size * 3 / 4);
    }
    if (receiving) {
        return;
    }
    const SelectedObject pen(dc, CreatePen(PS_SOLID, line * 2, kCrossGrey));
    MoveToEx(dc, left, top, nullptr);
    LineTo(dc, left + size, top + size);
    MoveToEx(dc, left + size, top, nullptr);
    LineTo(dc, left, top + size);
}

}  // namespace

HWND CrossedPhoneBox::Create(HWND parent, int controlId, const RECT& box) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, box.left,
                                  box.top, box.right - box.left, box.bottom - box.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                  GetModuleHandleW(nullptr), nullptr);
    if (window != nullptr) {
        SetWindowSubclass(window, &CrossedPhoneBox::Paint, kSubclassId, 0);
    }
    return window;
}

void CrossedPhoneBox::SetReceiving(HWND box, bool receiving) {
    // The flag rides in the subclass data; setting the subclass again only replaces it.
    if (box != nullptr &&
        SetWindowSubclass(box, &CrossedPhoneBox::Paint, kSubclassId, receiving ? 1 : 0)) {
        InvalidateRect(box, nullptr, TRUE);
    }
}

LRESULT CALLBACK CrossedPhoneBox::Paint(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR receiving) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(window, &paint);
            RECT area{};
            GetClientRect(window, &area);
            DrawPhone(dc, area, receiving != 0);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, &CrossedPhoneBox::Paint, kSubclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace kw::winui
