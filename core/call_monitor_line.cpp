#include "core/call_monitor_line.h"

#include <array>
#include <cstdint>

#include "core/utf8.h"

namespace kw {

namespace {

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF) and no NUL.
bool CleanUtf8(std::string_view text) {
    return text.find('\0') == std::string_view::npos && IsValidUtf8(text);
}

}  // namespace

void CallMonitorLines::feed(std::string_view bytes, const LineHandler& onLine) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!skipping_) {
            // One byte over the limit may still be the CR of CR LF.
            if (pending_.size() + piece.size() > kMaxCallMonitorLine + 1) {
                pending_.clear();
                skipping_ = true;
            } else {
                pending_.append(piece);
            }
        }
        if (end == std::string_view::npos) {
            return;
        }
        if (!skipping_) {
            std::string_view line = pending_;
            if (line.ends_with('\r')) {
                line.remove_suffix(1);
            }
            if (line.size() <= kMaxCallMonitorLine) {
                onLine(line);
            }
        }
        pending_.clear();
        skipping_ = false;
    }
}

void CallMonitorLines::reset() {
    pending_.clear();
    skipping_ = false;
}

std::optional<MonitorEvent> DecodeMonitorEvent(std::string_view line) {
    if (line.size() > kMaxCallMonitorLine || !CleanUtf8(line)) {
        return std::nullopt;
    }
    // Date, event, connection and up to three more; the rest does not matter.
    std::array<std::string_view, 6> fields;
    std::size_t found = 0;
    std::string_view rest = line;
    bool more = true;
    while (more && found < fields.size()) {
        const std::size_t end = rest.find(';');
        more = end != std::string_view::npos;
        fields[found++] = rest.substr(0, end);
        rest = more ? rest.substr(end + 1) : std::string_view();
    }
    struct Shape {
        std::string_view name;
        MonitorEvent::Kind kind;
        std::size_t fields;  // at least, with date and event
        std::size_t number;  // index of the other side, 0 for none
    };
    static constexpr std::array<Shape, 4> kShapes{{
        {"RING", MonitorEvent::Kind::Ring, 5, 3},
        {"CALL", MonitorEvent::Kind::Call, 6, 5},
        {"CONNECT", MonitorEvent::Kind::Connect, 5, 4},
        {"DISCONNECT", MonitorEvent::Kind::Disconnect, 4, 0},
    }};
    for (const Shape& shape : kShapes) {
        if (found >= 2 && fields[1] == shape.name) {
            if (found < shape.fields) {
                return std::nullopt;
            }
            MonitorEvent event{shape.kind, fields[2], {}, {}};
            if (shape.number != 0) {
                event.number = fields[shape.number];
            }
            if (shape.kind == MonitorEvent::Kind::Ring) {
                event.called = fields[4];
            }
            return event;
        }
    }
    return std::nullopt;
}

std::optional<MonitorRing> DecodeCallMonitorLine(std::string_view line) {
    const auto event = DecodeMonitorEvent(line);
    if (!event || event->kind != MonitorEvent::Kind::Ring) {
        return std::nullopt;
    }
    return MonitorRing{event->number, event->called};
}

std::optional<platform::CallReport> MonitorReport(std::string_view line) {
    const std::optional<MonitorEvent> event = DecodeMonitorEvent(line);
    if (!event) {
        return std::nullopt;
    }
    platform::CallReport report{.stage = platform::CallStage::Ringing, .callId = event->connection};
    switch (event->kind) {
        case MonitorEvent::Kind::Ring:
            report.caller = event->number;
            report.called = event->called;
            break;
        case MonitorEvent::Kind::Connect:
            report.stage = platform::CallStage::Answered;
            break;
        case MonitorEvent::Kind::Disconnect:
            report.stage = platform::CallStage::Ended;
            break;
        case MonitorEvent::Kind::Call:
            report.stage = platform::CallStage::Forgotten;
            break;
    }
    return report;
}

}  // namespace kw
