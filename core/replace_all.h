#pragma once

#include <string>
#include <string_view>

namespace kw {

// Replaces every `what` in the text by `with`, case-sensitively, scanning once from the start
// without rescanning what was put in. An empty `what` changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);

}  // namespace kw
