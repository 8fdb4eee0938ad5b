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

// "07.12.2026 14:05:01" in the computer's time zone. Asks the C library for the zone's offset
// once per quarter of an hour: asking for each of 20,000 calls reads the zone file as often.
class CallTimeFormatter {
  public:
    std::string text(std::int64_t utcSeconds);

  private:
    std::int64_t quarter_ = -1;
    std::int64_t offset_ = 0;
    bool known_ = false;
};

// "Müller (030 1234)", the number alone without a name, the name alone without a number.
std::string CallerText(std::string_view name, std::string_view number);

CallListRow CallListRowOf(const CallEntry& entry, CallTimeFormatter& times);

}  // namespace kw
