#pragma once

#include "platform/win32/windows_api.h"

#include <oaidl.h>

#include <string_view>

namespace kw::win32 {

// Owns one BSTR and frees it with SysFreeString. A null BSTR is the empty text.
class Bstr {
  public:
    Bstr() noexcept = default;
    // Copies the text; throws std::bad_alloc when the system cannot allocate it.
    explicit Bstr(std::wstring_view text);
    // Takes over a BSTR that the caller owns.
    static Bstr Adopt(BSTR owned) noexcept;
    ~Bstr();

    Bstr(Bstr&& other) noexcept;
    Bstr& operator=(Bstr&& other) noexcept;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const noexcept { return text_; }
    // For a by-reference argument: the callee may free the held BSTR and store another one here,
    // which this owner then frees.
    BSTR* address() noexcept { return &text_; }
    std::wstring_view view() const noexcept;

  private:
    BSTR text_ = nullptr;
};

}  // namespace kw::win32
