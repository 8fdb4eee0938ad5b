#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/win32/windows_api.h"

namespace kw::win32::gui {

// What the screen shows of a window, frame included, as 24-bit bottom-up BMP rows. Another
// process cannot paint into this process's device context, so it is taken off the screen: the
// window must be on top.
struct WindowPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // BGR rows, each padded to four bytes

    bool empty() const { return pixels.empty(); }
    // True when every pixel has the same colour: nothing painted yet, or no screen at all.
    bool uniform() const;
    bool operator==(const WindowPicture&) const = default;
};

WindowPicture CaptureWindow(HWND window);
bool SaveBitmap(const WindowPicture& picture, const std::filesystem::path& file);

}  // namespace kw::win32::gui
