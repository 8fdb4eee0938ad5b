#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kw {

// Longest line a router's call monitor may send, without its CR LF.
inline constexpr std::size_t kMaxCallMonitorLine = 1024;

// Cuts the monitor's byte stream into lines, however the bytes are split into packets. A line
// longer than kMaxCallMonitorLine is skipped up to its end; memory stays bounded by the limit.
class CallMonitorLines {
  public:
    using LineHandler = std::function<void(std::string_view line)>;

    // Calls `onLine` for each complete line in `bytes`, without its LF or CR LF.
    void feed(std::string_view bytes, const LineHandler& onLine);

    // Forgets a partial line, for a new connection.
    void reset();

  private:
    std::string pending_;
    bool skipping_ = false;
};

// An incoming call as the monitor announced it, pointing into the line.
struct MonitorRing {
    std::string_view caller;  // empty when withheld
    std::string_view called;

    friend bool operator==(const MonitorRing&, const MonitorRing&) = default;
};

// The incoming call in a line such as "07.12.26 14:05:01;RING;0;0301234567;4711;SIP0;". Nothing
// for other events, lines without caller and called fields, lines longer than the limit, with a
// NUL or bytes that are not UTF-8.
std::optional<MonitorRing> DecodeCallMonitorLine(std::string_view line);

}  // namespace kw
