#include "platform/win32/win32_message_box.h"

#include <string>

#include "platform/win32/wide_text.h"

namespace kw::win32 {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

UINT Win32MessageBox::style(MessageIcon icon, MessageButtons buttons, bool owned) {
    UINT flags = owned ? MB_APPLMODAL : MB_TASKMODAL;
    switch (icon) {
        case MessageIcon::Information:
            flags |= MB_ICONINFORMATION;
            break;
        case MessageIcon::Critical:
            flags |= MB_ICONSTOP;
            break;
        case MessageIcon::Question:
            flags |= MB_ICONQUESTION;
            break;
        case MessageIcon::None:
            break;
    }
    flags |= buttons == MessageButtons::YesNo ? (MB_YESNO | MB_DEFBUTTON1) : MB_OK;
    return flags;
}

MessageAnswer Win32MessageBox::answer(int result, MessageButtons buttons) {
    switch (result) {
        case IDOK:
            return MessageAnswer::Ok;
        case IDYES:
            return MessageAnswer::Yes;
        case IDNO:
            return MessageAnswer::No;
        default:
            return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
}

MessageAnswer Win32MessageBox::show(std::string_view text, std::string_view title, MessageIcon icon,
                                    MessageButtons buttons) {
    try {
        const std::wstring wideText = Utf8ToWide(text);
        const std::wstring wideTitle = Utf8ToWide(title);
        HWND owner = owner_ ? owner_() : nullptr;
        const int result = MessageBoxW(owner, wideText.c_str(), wideTitle.c_str(),
                                       style(icon, buttons, owner != nullptr));
        return answer(result, buttons);
    } catch (...) {
        return answer(0, buttons);
    }
}

}  // namespace kw::win32
