#include "tests/support/hostile_texts.h"

namespace kw::test {

std::vector<std::string> HostileTexts() {
    using namespace std::string_literals;
    std::string longText;
    while (longText.size() < 10'000) {
        longText += "Ab, \"c\"; d\\e=f[g]#h%i\tj\n@";
    }
    longText.resize(10'000);
    return {
        "",
        "   ",
        "  blanks at both ends  ",
        "a, b,c",
        "a;b ; c",
        "\"quoted\"",
        "\"half",
        "C:\\Pfad\\ \\\\server\\",
        "ends in backslash\\",
        "@Datei",
        "@",
        "@@",
        "@String(x)",
        "@Variant(\\0)",
        "line\nbreak\n",
        "windows\r\nbreak",
        "old mac\rbreak",
        "tab\there",
        "=a=b",
        "[Options]",
        "#kein Kommentar",
        "%1 %U00E4 %%",
        "%PATH%",
        "Grüße, Ärger",
        "📞 ☎",
        "電話番号",
        "שלום مرحبا",
        "nul\0inside"s,
        "ends in nul\0"s,
        "\x01\x1f\x7f",
        longText,
        std::string(1'000'000, 'x'),
    };
}

}  // namespace kw::test
