#pragma once

#include <string>
#include <string_view>

namespace kw {

// The status texts every call source shares, whichever system it runs on.

// Before a source has said how it is doing.
inline constexpr std::string_view kNotYetReceiving = "Wartet noch nicht auf Anrufe";

// "Wartet auf Anrufe über <where>".
std::string ReceivingThrough(std::string_view where);

// "Wartet nicht auf Anrufe: <reason>".
std::string NotReceiving(std::string_view reason);

}  // namespace kw
