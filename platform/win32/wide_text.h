#pragma once

#include <string>
#include <string_view>

namespace kw::win32 {

// UTF-8 (core's texts) <-> UTF-16 (the wide Win32 API), converted at the backend edge.
//
// Both directions keep every character, embedded NULs included, and never fail: an ill-formed
// UTF-8 sequence becomes one U+FFFD per maximal ill-formed subpart (as Unicode recommends and as
// current Windows does), an unpaired surrogate in UTF-16 becomes U+FFFD. Only std::bad_alloc can
// escape, when the text cannot be held at all.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace kw::win32
