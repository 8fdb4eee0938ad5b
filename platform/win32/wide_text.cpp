#include "platform/win32/wide_text.h"

#include <cstddef>
#include <cstdint>

#include "core/utf8.h"

// Core's UTF-8 reader instead of MultiByteToWideChar: the result must not depend on the Windows
// version or on Wine (their handling of ill-formed input differs), and sizes beyond INT_MAX need
// no care.
namespace kw::win32 {

std::wstring Utf8ToWide(std::string_view utf8) {
    static_assert(sizeof(wchar_t) == 2, "the wide Win32 API is UTF-16");
    std::wstring wide;
    wide.reserve(utf8.size());
    for (const char32_t c : DecodeUtf8(utf8)) {
        if (c >= 0x10000) {
            const char32_t v = c - 0x10000;
            wide += static_cast<wchar_t>(0xD800 + (v >> 10));
            wide += static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(c);
        }
    }
    return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const auto unit = static_cast<char32_t>(static_cast<std::uint16_t>(wide[i]));
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size()) {
            const auto next = static_cast<char32_t>(static_cast<std::uint16_t>(wide[i + 1]));
            if (next >= 0xDC00 && next <= 0xDFFF) {
                AppendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(utf8, unit >= 0xD800 && unit <= 0xDFFF ? kReplacementCharacter : unit);
    }
    return utf8;
}

}  // namespace kw::win32
