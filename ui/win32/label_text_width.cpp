#include "ui/win32/label_text_width.h"

#include <string>

#include "platform/win32/wide_text.h"

namespace kw::winui {

LabelTextWidth::LabelTextWidth(HWND label) : label_(label), dc_(GetDC(label)) {
    if (dc_ == nullptr) {
        return;
    }
    // A label without a font of its own draws in the system font, which the DC holds already.
    if (auto* font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0))) {
        previousFont_ = SelectObject(dc_, font);
    }
}

LabelTextWidth::~LabelTextWidth() {
    if (dc_ == nullptr) {
        return;
    }
    if (previousFont_ != nullptr) {
        SelectObject(dc_, previousFont_);
    }
    ReleaseDC(label_, dc_);
}

int LabelTextWidth::operator()(std::string_view text) const {
    const std::wstring wide = win32::Utf8ToWide(text);
    SIZE size{};
    if (dc_ == nullptr ||
        !GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size)) {
        return 0;
    }
    return size.cx;
}

int LabelTextWidth::available() const {
    RECT client{};
    GetClientRect(label_, &client);
    return client.right - client.left;
}

}  // namespace kw::winui
