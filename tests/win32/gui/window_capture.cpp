#include "tests/win32/gui/window_capture.h"

#include <algorithm>
#include <fstream>

namespace kw::win32::gui {

namespace {

int RowBytes(int width) {
    return (width * 3 + 3) / 4 * 4;
}

// A screen-compatible memory device context with a 24-bit section selected into it.
class MemoryPicture {
  public:
    MemoryPicture(HDC screen, int width, int height) : dc_(CreateCompatibleDC(screen)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<const std::uint8_t*>(bits);
        if (dc_ != nullptr && bitmap_ != nullptr) {
            old_ = SelectObject(dc_, bitmap_);
        }
    }
    ~MemoryPicture() {
        if (old_ != nullptr) {
            SelectObject(dc_, old_);
        }
        if (bitmap_ != nullptr) {
            DeleteObject(bitmap_);
        }
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    MemoryPicture(const MemoryPicture&) = delete;
    MemoryPicture& operator=(const MemoryPicture&) = delete;

    HDC dc() const { return old_ != nullptr ? dc_ : nullptr; }
    const std::uint8_t* bits() const { return bits_; }

  private:
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    const std::uint8_t* bits_ = nullptr;
};

class ScreenDc {
  public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_ != nullptr) {
            ReleaseDC(nullptr, dc_);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;

    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

}  // namespace

bool WindowPicture::uniform() const {
    if (width <= 0 || height <= 0) {
        return true;
    }
    const auto rowBytes = static_cast<std::size_t>(RowBytes(width));
    const std::uint8_t* first = pixels.data();
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* line = pixels.data() + static_cast<std::size_t>(row) * rowBytes;
        for (int x = 0; x < width; ++x) {
            if (!std::equal(line + x * 3, line + x * 3 + 3, first)) {
                return false;
            }
        }
    }
    return true;
}

WindowPicture CaptureWindow(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top) {
        return {};
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const ScreenDc screen;
    const MemoryPicture memory(screen.get(), width, height);
    if (screen.get() == nullptr || memory.dc() == nullptr ||
        !BitBlt(memory.dc(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY)) {
        return {};
    }
    GdiFlush();
    WindowPicture picture{width, height, {}};
    const std::size_t size = static_cast<std::size_t>(RowBytes(width)) * height;
    picture.pixels.assign(memory.bits(), memory.bits() + size);
    return picture;
}

bool SaveBitmap(const WindowPicture& picture, const std::filesystem::path& file) {
    if (picture.empty()) {
        return false;
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = picture.width;
    info.biHeight = picture.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(picture.pixels.size());
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof(header) + sizeof(info);
    header.bfSize = header.bfOffBits + info.biSizeImage;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(picture.pixels.data()),
              static_cast<std::streamsize>(picture.pixels.size()));
    return static_cast<bool>(out);
}

}  // namespace kw::win32::gui
