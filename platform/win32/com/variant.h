#pragma once

#include "platform/win32/windows_api.h"

#include <oaidl.h>

#include <cstddef>
#include <vector>

namespace kw::win32 {

// Owns one VARIANT and clears it with VariantClear.
class Variant {
  public:
    Variant() noexcept;
    ~Variant();
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() noexcept { return &value_; }

  private:
    VARIANT value_;
};

// Owns a contiguous array of VARIANTs, as DISPPARAMS needs it, and clears each one.
class VariantArray {
  public:
    explicit VariantArray(std::size_t size);
    ~VariantArray();
    VariantArray(const VariantArray&) = delete;
    VariantArray& operator=(const VariantArray&) = delete;

    VARIANT& operator[](std::size_t index) { return values_[index]; }
    VARIANT* data() noexcept { return values_.empty() ? nullptr : values_.data(); }
    std::size_t size() const noexcept { return values_.size(); }

  private:
    std::vector<VARIANT> values_;
};

}  // namespace kw::win32
