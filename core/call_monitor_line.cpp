#include "core/call_monitor_line.h"

#include <array>
#include <cstdint>

namespace kw {

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no NUL.
bool CleanUtf8(std::string_view text) {
    std::size_t index = 0;
    while (index < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[index]);
        if (lead == 0) {
            return false;
        }
        if (lead < 0x80) {
            ++index;
            continue;
        }
        std::size_t length = 0;
        std::uint8_t low = 0x80;
        std::uint8_t high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (text.size() - index < length) {
            return false;
        }
        for (std::size_t next = 1; next < length; ++next) {
            const auto byte = static_cast<std::uint8_t>(text[index + next]);
            const std::uint8_t min = next == 1 ? low : 0x80;
            const std::uint8_t max = next == 1 ? high : 0xBF;
            if (byte < min || byte > max) {
                return false;
            }
        }
        index += length;
    }
    return true;
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
