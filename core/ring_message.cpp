#include "core/ring_message.h"

#include <cstdint>

namespace kw {
namespace {

void AppendLength(std::string& out, std::uint32_t length) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((length >> shift) & 0xFFu));
    }
}

// Reads a little-endian length at `offset`; the caller has checked that four bytes are there.
std::uint32_t ReadLength(std::string_view bytes, std::size_t offset) {
    std::uint32_t length = 0;
    for (int index = 3; index >= 0; --index) {
        length = (length << 8) |
                 static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(index)]);
    }
    return length;
}

}  // namespace

std::size_t RingMessageSize(std::string_view caller, std::string_view called) {
    return kRingHeaderSize + caller.size() + called.size();
}

bool FitsRingMessage(std::string_view caller, std::string_view called) {
    // Each text alone is checked first so that the sum cannot overflow.
    return caller.size() <= kMaxRingMessage && called.size() <= kMaxRingMessage &&
           RingMessageSize(caller, called) <= kMaxRingMessage;
}

std::string EncodeRing(std::string_view caller, std::string_view called) {
    std::string out;
    out.reserve(RingMessageSize(caller, called));
    out.append(kRingMagic);
    AppendLength(out, static_cast<std::uint32_t>(caller.size()));
    out.append(caller);
    AppendLength(out, static_cast<std::uint32_t>(called.size()));
    out.append(called);
    return out;
}

std::optional<RingCall> DecodeRing(std::string_view bytes) {
    if (bytes.size() < kRingHeaderSize || bytes.size() > kMaxRingMessage ||
        bytes.substr(0, kRingMagic.size()) != kRingMagic) {
        return std::nullopt;
    }
    std::size_t offset = kRingMagic.size();
    const std::uint32_t callerLength = ReadLength(bytes, offset);
    offset += 4;
    // The rest must hold the caller and the second length; compared by subtraction, which
    // cannot overflow.
    if (callerLength > bytes.size() - offset - 4) {
        return std::nullopt;
    }
    std::string_view caller = bytes.substr(offset, callerLength);
    offset += callerLength;
    const std::uint32_t calledLength = ReadLength(bytes, offset);
    offset += 4;
    if (calledLength != bytes.size() - offset) {
        return std::nullopt;
    }
    std::string_view called = bytes.substr(offset, calledLength);
    return RingCall{std::string(caller), std::string(called)};
}

}  // namespace kw
