#pragma once

#include <iosfwd>

#include "platform/message_box.h"

namespace kw::console {

// Message boxes on a terminal, for the stand-in until the windows exist.
class ConsoleMessageBox final : public platform::MessageBox {
  public:
    ConsoleMessageBox(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

    platform::MessageAnswer show(std::string_view text, std::string_view title,
                                 platform::MessageIcon icon,
                                 platform::MessageButtons buttons) override;

  private:
    std::istream& in_;
    std::ostream& out_;
};

}  // namespace kw::console
