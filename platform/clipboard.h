#pragma once

#include <string_view>

namespace kw::platform {

// The desktop's clipboard, for handing a number to another program.
class Clipboard {
  public:
    virtual ~Clipboard() = default;

    // Replaces the clipboard's contents with the UTF-8 text. False when the clipboard could not
    // be taken. Never throws.
    virtual bool setText(std::string_view text) = 0;
};

}  // namespace kw::platform
