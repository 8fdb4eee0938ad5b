#include "platform/win32/com/variant.h"

#include "platform/win32/windows_api.h"

#include <oleauto.h>

namespace kw::win32 {

Variant::Variant() noexcept {
    VariantInit(&value_);
}

Variant::~Variant() {
    VariantClear(&value_);
}

VariantArray::VariantArray(std::size_t size) : values_(size) {
    for (VARIANT& value : values_) {
        VariantInit(&value);
    }
}

VariantArray::~VariantArray() {
    for (VARIANT& value : values_) {
        VariantClear(&value);
    }
}

}  // namespace kw::win32
