#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/filled_command.h"
#include "core/web_address.h"
#include "tests/fuzz/fuzz_require.h"

namespace {

using namespace kw;

bool Unreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;  // lower case would be valid too, but the encoder writes upper case
}

// Whether `address` from `at` on is the pieces in order: template text verbatim, each byte of
// number text unreserved or %HH and decoding back to it.
bool Matches(std::string_view address, std::size_t at, const FilledCommand& filled) {
    for (const CommandPiece& piece : filled.pieces()) {
        if (!piece.fromNumber) {
            if (address.compare(at, piece.text.size(), piece.text) != 0) {
                return false;
            }
            at += piece.text.size();
            continue;
        }
        for (const char original : piece.text) {
            if (at < address.size() && address[at] != '%') {
                if (!Unreserved(address[at]) || address[at] != original) {
                    return false;
                }
                ++at;
                continue;
            }
            if (at + 2 >= address.size()) {
                return false;
            }
            const int high = HexDigitValue(address[at + 1]);
            const int low = HexDigitValue(address[at + 2]);
            if (high < 0 || low < 0 || static_cast<char>(high * 16 + low) != original) {
                return false;
            }
            at += 3;
        }
    }
    return at == address.size();
}

bool StartsWithWwwDot(std::string_view text) {
    if (text.size() < 4 || text[3] != '.') {
        return false;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (text[i] != 'w' && text[i] != 'W') {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string caller = input.ConsumeRandomLengthString(64);
    const std::string called = input.ConsumeRandomLengthString(64);
    const std::string shellTemplate = input.ConsumeRemainingBytesAsString();

    const FilledCommand filled = FillTemplate(shellTemplate, caller, called);
    const std::string address = WebAddress(filled);

    // The scheme is put in front only of what starts with "www." by itself.
    constexpr std::string_view kScheme = "http://";
    if (Matches(address, 0, filled)) {
        KW_FUZZ_REQUIRE(!StartsWithWwwDot(address));
    } else {
        KW_FUZZ_REQUIRE(address.starts_with(kScheme) &&
                        StartsWithWwwDot(address.substr(kScheme.size())) &&
                        Matches(address, kScheme.size(), filled));
    }

    // Where the program would open it, the first characters and the scheme are the template's.
    const std::string text = filled.text();
    if (IsWebAddress(text) && !filled.numberWithin(4)) {
        const bool www = StartsWithWwwDot(text);
        const std::string_view rest =
            www ? std::string_view(address).substr(kScheme.size()) : std::string_view(address);
        KW_FUZZ_REQUIRE(!www || address.starts_with(kScheme));
        KW_FUZZ_REQUIRE(rest.substr(0, 4) == std::string_view(text).substr(0, 4));
    }
    return 0;
}
