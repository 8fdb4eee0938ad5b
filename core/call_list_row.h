#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/call_list_record.h"

namespace kw {

// The call list's columns, in the window and in the exported file.
inline constexpr std::array<std::string_view, 5> kCallListColumns{"Zeit", "Anrufer", "Leitung",
                                                                  "Quelle", "Ergebnis"};

using CallListRow = std::array<std::string, kCallListColumns.size()>;

// "07.12.2026 14:05:01" in the computer's time zone.
std::string CallTimeText(std::int64_t utcSeconds);

// "Müller (030 1234)", the number alone without a name, the name alone without a number.
std::string CallerText(std::string_view name, std::string_view number);

CallListRow CallListRowOf(const CallEntry& entry);

}  // namespace kw
