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

std::optional<MonitorRing> DecodeCallMonitorLine(std::string_view line) {
    if (line.size() > kMaxCallMonitorLine || !CleanUtf8(line)) {
        return std::nullopt;
    }
    // Date, event, connection, caller, called; the rest does not matter.
    std::array<std::string_view, 5> fields;
    std::size_t found = 0;
    std::string_view rest = line;
    bool more = true;
    while (more && found < fields.size()) {
        const std::size_t end = rest.find(';');
        more = end != std::string_view::npos;
        fields[found++] = rest.substr(0, end);
        rest = more ? rest.substr(end + 1) : std::string_view();
    }
    if (found < fields.size() || fields[1] != "RING") {
        return std::nullopt;
    }
    return MonitorRing{fields[3], fields[4]};
}

}  // namespace kw
