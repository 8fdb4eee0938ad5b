#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/call_source.h"

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

// One line of the monitor for the call list, pointing into the line. `number` is the other side
// (the caller of a RING, the dialled number of a CALL, the far end of a CONNECT).
struct MonitorEvent {
    enum class Kind { Ring, Call, Connect, Disconnect };
    Kind kind = Kind::Ring;
    std::string_view connection;  // the router's id, reused after the call
    std::string_view number;
    std::string_view called;  // RING only: our line

    friend bool operator==(const MonitorEvent&, const MonitorEvent&) = default;
};

// "d;RING;id;caller;called;", "d;CALL;id;ext;from;to;", "d;CONNECT;id;ext;number;",
// "d;DISCONNECT;id;seconds;". Nothing for other or malformed lines, as DecodeCallMonitorLine.
std::optional<MonitorEvent> DecodeMonitorEvent(std::string_view line);

// The same line as a stage of a call: RING rings, CONNECT answers, DISCONNECT ends, CALL (an
// outgoing call now holds the id) forgets. Views into `line`.
std::optional<platform::CallReport> MonitorReport(std::string_view line);

}  // namespace kw
