#pragma once

#include <string_view>

namespace kw {

// Whether a CANCEL's Reason header value says the call was answered at another device:
// protocol "SIP" with cause 200, such as `SIP;cause=200;text="Call completed elsewhere"`.
// Several comma-separated values may come in one header; any one of them counts. Names are
// compared without regard to case, blanks around ";" and "=" are allowed, quoted text may hold
// commas and semicolons. Anything malformed counts as not answered.
bool AnsweredElsewhere(std::string_view reasonHeader);

}  // namespace kw
