#include "tests/win32/ui/dialog_script.h"

#include <commctrl.h>

namespace kw::winui::test {

namespace {

constexpr UINT kRunSteps = WM_APP + 40;
constexpr UINT kEndLeftovers = WM_APP + 41;
constexpr UINT_PTR kSubclassId = 0x4B57;
constexpr INT_PTR kForcedEnd = -2;

}  // namespace

void DialogScript::attach(HWND dialog) {
    SetWindowSubclass(dialog, &DialogScript::Hook, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    PostMessageW(dialog, kRunSteps, 0, 0);
}

LRESULT CALLBACK DialogScript::Hook(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR self) {
    auto* script = reinterpret_cast<DialogScript*>(self);
    switch (message) {
        case kRunSteps:
            if (script->next_ < script->steps_.size()) {
                script->steps_[script->next_++](window);
            }
            // Behind whatever the step posted, so that it happens first.
            PostMessageW(window, script->next_ < script->steps_.size() ? kRunSteps : kEndLeftovers,
                         0, 0);
            return 0;
        case kEndLeftovers:
            script->forced_ = true;
            EndDialog(window, kForcedEnd);
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, &DialogScript::Hook, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void Click(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

RECT ClientRectOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace kw::winui::test
