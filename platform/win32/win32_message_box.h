#pragma once

#include <functional>
#include <string_view>
#include <utility>

#include "platform/message_box.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {

// MessageBoxW with UTF-16 texts. With an owner window the box is modal to it; without one it is
// task-modal (MB_TASKMODAL), so every window of the program waits.
class Win32MessageBox final : public platform::MessageBox {
  public:
    // Asked at every showing, since the window on top changes while the program runs.
    using Owner = std::function<HWND()>;

    explicit Win32MessageBox(HWND owner = nullptr) : owner_([owner] { return owner; }) {}
    explicit Win32MessageBox(Owner owner) : owner_(std::move(owner)) {}

    platform::MessageAnswer show(std::string_view text, std::string_view title,
                                 platform::MessageIcon icon,
                                 platform::MessageButtons buttons) override;

    // The MessageBoxW style for the icon and buttons; Yes is the default of Yes/No.
    static UINT style(platform::MessageIcon icon, platform::MessageButtons buttons, bool owned);
    // The answer for MessageBoxW's result: IDOK, IDYES, IDNO as such; anything else (0 when the
    // box could not be shown) Ok for an Ok box and No for a Yes/No box.
    static platform::MessageAnswer answer(int result, platform::MessageButtons buttons);

  private:
    Owner owner_;
};

}  // namespace kw::win32
