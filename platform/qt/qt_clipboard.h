#pragma once

#include "platform/clipboard.h"

namespace kw::qt {

// The desktop's clipboard through QGuiApplication::clipboard().
class QtClipboard final : public platform::Clipboard {
  public:
    bool setText(std::string_view text) override;
};

}  // namespace kw::qt
