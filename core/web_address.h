#pragma once

#include <string>
#include <string_view>

#include "core/filled_command.h"

namespace kw {

// Whether the first four characters of the command, in any letter case, are "http" or "www.".
bool IsWebAddress(std::string_view command);

// Percent-encodes text for a web address: RFC 3986 unreserved characters stay, every other byte
// becomes %XX (so "+" is %2B and a blank %20).
std::string PercentEncode(std::string_view text);

// The address to open for a web command: template text as the user wrote it, number text
// percent-encoded, and "http://" put in front of a command that starts with "www." in any case.
std::string WebAddress(const FilledCommand& command);

}  // namespace kw
