#include "tests/win32/gui/message_box_probe.h"

#include <algorithm>

#include "tests/win32/gui/process_windows.h"

namespace kw::win32::gui {

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
// The message text's static control, on Windows and Wine alike.
constexpr int kTextId = 0xFFFF;

bool IsButton(HWND child) {
    const auto type = StyleOf(child) & BS_TYPEMASK;
    return ClassOf(child) == L"Button" && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

}  // namespace

SeenMessageBox AwaitMessageBox(DWORD processId, const std::wstring& caption,
                               std::chrono::milliseconds patience) {
    const HWND box = PollFor(
        [&] {
            const HWND found = FindTopWindow(processId, kDialogClass, caption);
            return found != nullptr && IsWindowVisible(found) ? found : nullptr;
        },
        patience);
    return box != nullptr ? DescribeMessageBox(box) : SeenMessageBox{};
}

SeenMessageBox DescribeMessageBox(HWND box) {
    SeenMessageBox seen;
    seen.window = box;
    int drawnAsDefault = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id == kTextId) {
            seen.text = TextOf(child);
        } else if (IsButton(child) && IsWindowVisible(child)) {
            seen.buttons.push_back(id);
            if ((StyleOf(child) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                drawnAsDefault = id;
            }
        } else if (ClassOf(child) == L"Static" && (StyleOf(child) & SS_TYPEMASK) == SS_ICON) {
            seen.hasIcon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
        }
    }
    // Wine's message box answers DM_GETDEFID with IDOK whatever its buttons; the button drawn as
    // the default is what Enter presses there.
    const LRESULT reply = SendMessageW(box, DM_GETDEFID, 0, 0);
    const int defId = HIWORD(reply) == DC_HASDEFID ? LOWORD(reply) : 0;
    const bool defIdIsAButton =
        std::find(seen.buttons.begin(), seen.buttons.end(), defId) != seen.buttons.end();
    seen.defaultButton = defIdIsAButton ? defId : drawnAsDefault;
    return seen;
}

void AnswerMessageBox(HWND box, int button) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

}  // namespace kw::win32::gui
