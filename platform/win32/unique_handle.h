#pragma once

#include <utility>

#include "platform/win32/windows_api.h"

namespace kw::win32 {

// Owns a kernel object handle and closes it once. Both "no handle" values of the API (null and
// INVALID_HANDLE_VALUE) count as empty.
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return valid(handle_); }

    void reset(HANDLE handle = nullptr) {
        if (valid(handle_)) {
            CloseHandle(handle_);
        }
        handle_ = handle;
    }

  private:
    static bool valid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

    HANDLE handle_ = nullptr;
};

}  // namespace kw::win32
