#include "ui/win32/control_fonts.h"

#include <cmath>
#include <cwchar>

#include "platform/win32/wide_text.h"

namespace kw::winui {

ControlFonts::~ControlFonts() {
    for (const Entry& entry : entries_) {
        DeleteObject(entry.font);
    }
}

LONG ControlFonts::height(double points, int dpi) {
    return -std::lround(points * dpi / 72.0);
}

HFONT ControlFonts::get(const ui::FontStyle& style, int dpi) {
    const std::wstring face = win32::Utf8ToWide(style.face);
    for (const Entry& entry : entries_) {
        if (entry.face == face && entry.points == style.points && entry.bold == style.bold &&
            entry.dpi == dpi) {
            return entry.font;
        }
    }
    LOGFONTW logFont{};
    logFont.lfHeight = height(style.points, dpi);
    logFont.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    // LF_FACESIZE includes the terminator; a longer face would be cut, which Windows then maps.
    std::wcsncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    HFONT font = CreateFontIndirectW(&logFont);
    if (font == nullptr) {
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    entries_.push_back(Entry{face, style.points, style.bold, dpi, font});
    return font;
}

}  // namespace kw::winui
