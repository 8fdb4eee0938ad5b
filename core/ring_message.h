#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kw {

// The one message klingelwart-ring sends to the running program: a call with its two numbers.
//
// Wire format, one message per connection (a SOCK_SEQPACKET socket, a message-mode pipe):
//   8 bytes  magic "KLINGEL1"
//   4 bytes  caller length, unsigned little-endian
//   n bytes  caller text
//   4 bytes  called (line) length, unsigned little-endian
//   m bytes  called text
// Nothing follows. The whole message is at most kMaxRingMessage bytes.
//
// Texts are carried byte for byte: blanks at either end, tabs, line breaks, quotes, any UTF-8 and
// also bytes that are not UTF-8 or are NUL. Judging them is the receiver's business (the core
// treats numbers as data of any content).
inline constexpr std::string_view kRingMagic = "KLINGEL1";
inline constexpr std::size_t kRingHeaderSize = 8 + 4 + 4;  // magic and the two lengths
inline constexpr std::size_t kMaxRingMessage = 64 * 1024;

struct RingCall {
    std::string caller;
    std::string called;

    friend bool operator==(const RingCall&, const RingCall&) = default;
};

// The size of the encoded message, and whether it is within kMaxRingMessage.
std::size_t RingMessageSize(std::string_view caller, std::string_view called);
bool FitsRingMessage(std::string_view caller, std::string_view called);

// Encodes the call. The caller checks FitsRingMessage first; a message that does not fit is
// encoded all the same and refused by DecodeRing.
std::string EncodeRing(std::string_view caller, std::string_view called);

// Decodes one message, or nullopt for anything malformed: shorter than the header, another magic,
// lengths that do not add up to exactly the message (too short, overflowing, trailing bytes), or
// more than kMaxRingMessage bytes.
std::optional<RingCall> DecodeRing(std::string_view bytes);

}  // namespace kw
