#include "core/replace_all.h"

namespace kw {

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
    if (what.empty()) {
        return std::string(text);
    }
    std::string result;
    std::size_t position = 0;
    while (true) {
        const std::size_t found = text.find(what, position);
        if (found == std::string_view::npos) {
            break;
        }
        result.append(text.substr(position, found - position));
        result.append(with);
        position = found + what.size();
    }
    result.append(text.substr(position));
    return result;
}

}  // namespace kw
