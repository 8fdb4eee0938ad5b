#include "ui/console/console_message_box.h"

#include <istream>
#include <ostream>
#include <string>

namespace kw::console {

namespace {

std::string_view IconMark(platform::MessageIcon icon) {
    switch (icon) {
        case platform::MessageIcon::Information:
            return "(i) ";
        case platform::MessageIcon::Critical:
            return "(X) ";
        case platform::MessageIcon::Question:
            return "(?) ";
        case platform::MessageIcon::None:
            break;
    }
    return "";
}

}  // namespace

platform::MessageAnswer ConsoleMessageBox::show(std::string_view text, std::string_view title,
                                                platform::MessageIcon icon,
                                                platform::MessageButtons buttons) {
    std::string plain;
    for (const char c : text) {
        if (c != '\r') {
            plain += c;
        }
    }
    out_ << "\n== " << IconMark(icon) << title << " ==\n" << plain << "\n";
    if (buttons == platform::MessageButtons::Ok) {
        out_ << "[OK]\n" << std::flush;
        return platform::MessageAnswer::Ok;
    }
    out_ << "[J]a / [N]ein (Vorgabe: Ja): " << std::flush;
    std::string answer;
    if (!std::getline(in_, answer)) {
        return platform::MessageAnswer::No;
    }
    return answer.empty() || answer[0] == 'j' || answer[0] == 'J' ? platform::MessageAnswer::Yes
                                                                  : platform::MessageAnswer::No;
}

}  // namespace kw::console
