#include "platform/win32/wide_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/windows_api.h"

namespace kw::win32 {
namespace {

using namespace std::string_literals;

struct Pair {
    std::string utf8;
    std::wstring wide;
};

TEST(WideText, RoundTripsEveryText) {
    const Pair pairs[] = {
        {"", L""},
        {"Klingelwart", L"Klingelwart"},
        {"Grüße, Ärger, ß", L"Gr\u00fc\u00dfe, \u00c4rger, \u00df"},
        {"📞 ☎", L"\U0001F4DE \u260E"},
        {"電話番号", L"\u96fb\u8a71\u756a\u53f7"},
        {"שלום مرحبا", L"\u05e9\u05dc\u05d5\u05dd \u0645\u0631\u062d\u0628\u0627"},
        {"nul\0inside"s, L"nul\0inside"s},
        {"\x01\x1f\x7f", L"\x01\x1f\x7f"},
        {"\r\n\t\"\\", L"\r\n\t\"\\"},
        {"\xef\xbf\xbd", L"\ufffd"},
        {"\xf4\x8f\xbf\xbf", L"\U0010FFFF"},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.utf8);
        EXPECT_EQ(Utf8ToWide(pair.utf8), pair.wide);
        EXPECT_EQ(WideToUtf8(pair.wide), pair.utf8);
    }
}

TEST(WideText, ReplacesEachIllFormedPartOfUtf8ByOneReplacementCharacter) {
    const Pair pairs[] = {
        {"\xff", L"\ufffd"},
        {"a\xfe\xff"
         "b",
         L"a\ufffd\ufffd"
         L"b"},
        {"\xc3(", L"\ufffd("},        // lead byte without continuation
        {"\xc3", L"\ufffd"},          // cut off at the end
        {"\xe2\x82", L"\ufffd"},      // three-byte sequence cut off
        {"\xf0\x9f\x93", L"\ufffd"},  // four-byte sequence cut off
        {"\xf0\x9f\x93x", L"\ufffdx"},
        {"\x80", L"\ufffd"},                                // lone continuation byte
        {"\xc0\xaf", L"\ufffd\ufffd"},                      // overlong "/"
        {"\xe0\x80\xaf", L"\ufffd\ufffd\ufffd"},            // overlong, three bytes
        {"\xed\xa0\x80", L"\ufffd\ufffd\ufffd"},            // an encoded surrogate
        {"\xf4\x90\x80\x80", L"\ufffd\ufffd\ufffd\ufffd"},  // above U+10FFFF
        {"\xf5\x80", L"\ufffd\ufffd"},
        {"\xff\xfe\xc3(", L"\ufffd\ufffd\ufffd("},  // as in the settings tests
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(::testing::PrintToString(pair.utf8));
        EXPECT_EQ(Utf8ToWide(pair.utf8), pair.wide);
    }
}

TEST(WideText, ReplacesUnpairedSurrogatesOfUtf16) {
    const std::wstring lone[] = {L"\xd800"s,
                                 L"a\xdc00"
                                 L"b"s,
                                 L"\xdbff\xdbff"s, L"x\xd83d"s};
    const std::string expected[] = {"\xef\xbf\xbd",
                                    "a\xef\xbf\xbd"
                                    "b",
                                    "\xef\xbf\xbd\xef\xbf\xbd", "x\xef\xbf\xbd"};
    for (std::size_t i = 0; i < std::size(lone); ++i) {
        EXPECT_EQ(WideToUtf8(lone[i]), expected[i]) << i;
    }
}

TEST(WideText, AgreesWithTheSystemForEveryWellFormedCharacter) {
    std::wstring all;
    for (char32_t c = 1; c <= 0x10FFFF; c += (c < 0x3000 ? 1 : 97)) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        if (c >= 0x10000) {
            all += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            all += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            all += static_cast<wchar_t>(c);
        }
    }
    const std::string utf8 = WideToUtf8(all);
    const int size = WideCharToMultiByte(CP_UTF8, 0, all.data(), static_cast<int>(all.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string system(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, all.data(), static_cast<int>(all.size()), system.data(), size,
                        nullptr, nullptr);
    EXPECT_EQ(utf8, system);
    EXPECT_EQ(Utf8ToWide(utf8), all);
}

}  // namespace
}  // namespace kw::win32
