#pragma once

#include <functional>
#include <utility>

#include "platform/clipboard.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {

// The clipboard as CF_UNICODETEXT. It needs a window to own the text: without one, Windows
// refuses SetClipboardData after EmptyClipboard.
class Win32Clipboard final : public platform::Clipboard {
  public:
    // Asked at every copy, since the window on top changes while the program runs.
    using Owner = std::function<HWND()>;

    explicit Win32Clipboard(Owner owner) : owner_(std::move(owner)) {}

    bool setText(std::string_view text) override;

  private:
    Owner owner_;
};

}  // namespace kw::win32
