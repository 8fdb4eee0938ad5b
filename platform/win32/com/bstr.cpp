#include "platform/win32/com/bstr.h"

#include "platform/win32/windows_api.h"

#include <oleauto.h>

#include <climits>
#include <new>
#include <utility>

namespace kw::win32 {

Bstr::Bstr(std::wstring_view text) {
    if (text.size() > UINT_MAX / sizeof(wchar_t)) {
        throw std::bad_alloc();
    }
    text_ = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (text_ == nullptr) {
        throw std::bad_alloc();
    }
}

Bstr Bstr::Adopt(BSTR owned) noexcept {
    Bstr bstr;
    bstr.text_ = owned;
    return bstr;
}

Bstr::~Bstr() {
    SysFreeString(text_);
}

Bstr::Bstr(Bstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}

Bstr& Bstr::operator=(Bstr&& other) noexcept {
    if (this != &other) {
        SysFreeString(std::exchange(text_, std::exchange(other.text_, nullptr)));
    }
    return *this;
}

std::wstring_view Bstr::view() const noexcept {
    if (text_ == nullptr) {
        return {};
    }
    return {text_, SysStringLen(text_)};
}

}  // namespace kw::win32
