#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/call_monitor_line.h"
#include "tests/fuzz/fuzz_require.h"

namespace {

using namespace kw;

// Decodes code points and compares their length with the shortest encoding, unlike the decoder's
// table of lead and continuation bytes.
bool ValidUtf8(std::string_view text) {
    std::size_t index = 0;
    while (index < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[index]);
        const std::size_t length = lead < 0x80       ? 1
                                   : lead >> 5 == 6  ? 2
                                   : lead >> 4 == 14 ? 3
                                   : lead >> 3 == 30 ? 4
                                                     : 0;
        if (length == 0 || index + length > text.size()) {
            return false;
        }
        std::uint32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t next = 1; next < length; ++next) {
            const auto byte = static_cast<std::uint8_t>(text[index + next]);
            if (byte >> 6 != 2) {
                return false;
            }
            point = point << 6 | (byte & 0x3F);
        }
        const std::size_t shortest = point < 0x80 ? 1 : point < 0x800 ? 2 : point < 0x10000 ? 3 : 4;
        if (shortest != length || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
            return false;
        }
        index += length;
    }
    return true;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t begin = 0;
    for (std::size_t index = 0; index <= line.size(); ++index) {
        if (index == line.size() || line[index] == ';') {
            fields.push_back(line.substr(begin, index - begin));
            begin = index + 1;
        }
    }
    return fields;
}

std::vector<std::string> Split(std::string_view bytes, std::size_t cut) {
    CallMonitorLines lines;
    std::vector<std::string> out;
    const auto keep = [&](std::string_view line) { out.emplace_back(line); };
    lines.feed(bytes.substr(0, cut), keep);
    lines.feed(bytes.substr(cut), keep);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string> lines = Split(bytes, 0);
    KW_FUZZ_REQUIRE(lines == Split(bytes, size == 0 ? 0 : data[0] % size));
    for (const std::string& line : lines) {
        KW_FUZZ_REQUIRE(line.size() <= kMaxCallMonitorLine);
        KW_FUZZ_REQUIRE(line.find('\n') == std::string::npos);
    }

    const auto check = [](std::string_view line) {
        const auto ring = DecodeCallMonitorLine(line);
        if (!ring) {
            return;
        }
        const std::vector<std::string_view> fields = Fields(line);
        KW_FUZZ_REQUIRE(line.size() <= kMaxCallMonitorLine);
        KW_FUZZ_REQUIRE(ValidUtf8(line) && line.find('\0') == std::string_view::npos);
        KW_FUZZ_REQUIRE(fields.size() >= 5 && fields[1] == "RING");
        KW_FUZZ_REQUIRE(ring->caller == fields[3] && ring->called == fields[4]);
        // Views into the line itself, not copies that might outlive it.
        KW_FUZZ_REQUIRE(ring->caller.data() == fields[3].data());
    };
    check(bytes);
    for (const std::string& line : lines) {
        check(line);
    }
    return 0;
}
