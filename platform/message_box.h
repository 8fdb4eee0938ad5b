#pragma once

#include <string_view>

namespace kw::platform {

enum class MessageIcon { None, Information, Critical, Question };

// With YesNo, Yes is the default button.
enum class MessageButtons { Ok, YesNo };

enum class MessageAnswer { Ok, Yes, No };

// A modal message box. Texts are UTF-8; line breaks arrive as CR LF pairs.
class MessageBox {
  public:
    virtual ~MessageBox() = default;

    // Shows the box and returns when the user has closed it. A box that cannot be shown, or that
    // is closed without a choice, answers Ok for Ok boxes and No for YesNo boxes. Never throws.
    virtual MessageAnswer show(std::string_view text, std::string_view title, MessageIcon icon,
                               MessageButtons buttons) = 0;
};

}  // namespace kw::platform
