#pragma once

#include <utility>

#include "platform/win32/windows_api.h"

namespace kw::winui {

// Owns an icon loaded from the resources and destroys it once.
class UniqueIcon {
  public:
    UniqueIcon() = default;
    explicit UniqueIcon(HICON icon) : icon_(icon) {}
    ~UniqueIcon() { reset(); }

    UniqueIcon(UniqueIcon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
    UniqueIcon& operator=(UniqueIcon&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.icon_, nullptr));
        }
        return *this;
    }
    UniqueIcon(const UniqueIcon&) = delete;
    UniqueIcon& operator=(const UniqueIcon&) = delete;

    HICON get() const { return icon_; }
    explicit operator bool() const { return icon_ != nullptr; }

    void reset(HICON icon = nullptr) {
        if (icon_ != nullptr) {
            DestroyIcon(icon_);
        }
        icon_ = icon;
    }

  private:
    HICON icon_ = nullptr;
};

// The program's icon (kProgramIconId) at a square size in pixels; empty when the executable
// has none, as the test programs do.
UniqueIcon LoadProgramIcon(int pixels);

}  // namespace kw::winui
