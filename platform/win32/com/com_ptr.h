#pragma once

#include <utility>

namespace kw::win32 {

// Owns one reference to a COM interface and releases it on destruction. Move-only, so that every
// reference has exactly one owner.
template <class T>
class ComPtr {
  public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }

    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const noexcept { return pointer_; }
    T* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    // The slot for an out-parameter that hands over a reference; the previous one is released.
    T** put() noexcept {
        reset();
        return &pointer_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

    void reset() noexcept {
        if (T* old = std::exchange(pointer_, nullptr)) {
            old->Release();
        }
    }

  private:
    T* pointer_ = nullptr;
};

}  // namespace kw::win32
