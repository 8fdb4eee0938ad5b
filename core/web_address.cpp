#include "core/web_address.h"

namespace kw {

namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

bool StartsWithWww(std::string_view text) {
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

bool IsWebAddress(std::string_view command) {
    // ASCII-only lowering: the locale must not decide what counts as a web address.
    std::string prefix(command.substr(0, 4));
    for (char& c : prefix) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return prefix == "http" || prefix == "www.";
}

std::string PercentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::string WebAddress(const FilledCommand& command) {
    std::string address;
    for (const auto& piece : command.pieces()) {
        address += piece.fromNumber ? PercentEncode(piece.text) : piece.text;
    }
    // Openers need a scheme to tell an address from a file name.
    if (StartsWithWww(address)) {
        address.insert(0, "http://");
    }
    return address;
}

}  // namespace kw
