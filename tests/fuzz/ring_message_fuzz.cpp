#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/ring_message.h"
#include "tests/fuzz/fuzz_require.h"

namespace {

using namespace kw;

std::uint64_t LengthAt(std::string_view bytes, std::size_t offset) {
    std::uint64_t length = 0;
    for (std::size_t index = 0; index < 4; ++index) {
        length |= std::uint64_t{static_cast<unsigned char>(bytes[offset + index])} << (8 * index);
    }
    return length;
}

// Counted in 64 bits, independently of the decoder's overflow-safe comparisons.
bool WellFormed(std::string_view bytes) {
    if (bytes.size() < kRingHeaderSize || bytes.size() > kMaxRingMessage ||
        !bytes.starts_with(kRingMagic)) {
        return false;
    }
    const std::uint64_t caller = LengthAt(bytes, 8);
    if (caller > bytes.size() - kRingHeaderSize) {
        return false;
    }
    return LengthAt(bytes, 12 + caller) + caller + kRingHeaderSize == bytes.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const auto call = DecodeRing(bytes);
    KW_FUZZ_REQUIRE(call.has_value() == WellFormed(bytes));
    if (call) {
        KW_FUZZ_REQUIRE(FitsRingMessage(call->caller, call->called));
        KW_FUZZ_REQUIRE(EncodeRing(call->caller, call->called) == bytes);
    }

    // The other way round: any two texts that fit come back unchanged. A first byte of 0xFF
    // stretches the caller to near the size limit, which inputs this small cannot reach.
    const std::size_t cut = size == 0 ? 0 : data[0] % size;
    std::string caller(bytes.substr(0, cut));
    const std::string_view called = bytes.substr(cut);
    if (size > 1 && data[0] == 0xFF && called.size() < 4096) {
        const std::size_t near = kMaxRingMessage - kRingHeaderSize - called.size() - 128 + data[1];
        caller.resize(near, 'x');
    }
    const bool fits = FitsRingMessage(caller, called);
    KW_FUZZ_REQUIRE(fits == (RingMessageSize(caller, called) <= kMaxRingMessage));
    const auto back = DecodeRing(EncodeRing(caller, called));
    KW_FUZZ_REQUIRE(fits ? back == (RingCall{caller, std::string(called)}) : !back);
    return 0;
}
