// Writes the window icon's pixels as a header, drawn at build time: drawing the bell at every
// start brought the painter's path and gradient code into memory for two small pictures.
//
//   kw_bell_pixels OUTPUT_HEADER
#include <cstdint>
#include <cstdio>
#include <fstream>

#include "ui/qt/bell_image.h"

namespace {

// The window icon's sizes.
constexpr int kSizes[] = {16, 48};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "kw_bell_pixels OUTPUT_HEADER\n");
        return 2;
    }
    std::ofstream out(argv[1]);
    out << "// Made by kw_bell_pixels from BellImage; premultiplied ARGB, row by row.\n"
           "#pragma once\n\n#include <cstdint>\n\nnamespace kw::qt {\n\n";
    for (const int pixels : kSizes) {
        const QImage image = kw::qt::BellImage(pixels);
        out << "inline constexpr std::uint32_t kBell" << pixels << "[] = {";
        for (int y = 0; y < pixels; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
            for (int x = 0; x < pixels; ++x) {
                char word[16];
                std::snprintf(word, sizeof word, "0x%08x,", static_cast<unsigned>(row[x]));
                out << (x % 8 == 0 ? "\n    " : " ") << word;
            }
        }
        out << "\n};\n\n";
    }
    out << "struct BellPixels {\n    int pixels;\n    const std::uint32_t* data;\n};\n\n"
           "inline constexpr BellPixels kBellIcon[] = {";
    for (const int pixels : kSizes) {
        out << "{" << pixels << ", kBell" << pixels << "}, ";
    }
    out << "};\n\n}  // namespace kw::qt\n";
    out.close();
    return out ? 0 : 1;
}
