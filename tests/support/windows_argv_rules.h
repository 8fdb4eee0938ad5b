#pragma once

// The two ways a Windows program splits its command line into words, written out portably so
// that tests and fuzz targets can check lines on any system. Blanks are spaces and tabs only.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kw::test {

// As CommandLineToArgvW (and C runtimes before 2008): the program's word ends at the next
// quote when it starts with one, else at a blank; in arguments, quotes after a quote count on,
// every third of a run is a literal quote, and a run leaves quotes open only as counted.
inline std::vector<std::wstring> SplitLikeCommandLineToArgvW(std::wstring_view line) {
    std::vector<std::wstring> words(1);
    std::size_t i = 0;
    if (!line.empty() && line[0] == L'"') {
        for (i = 1; i < line.size() && line[i] != L'"'; ++i) {
            words[0] += line[i];
        }
        i += i < line.size() ? 1 : 0;
    } else {
        for (; i < line.size() && line[i] != L' ' && line[i] != L'\t'; ++i) {
            words[0] += line[i];
        }
    }
    const auto skipBlanks = [&] {
        while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) {
            ++i;
        }
    };
    skipBlanks();
    if (i == line.size()) {
        return words;
    }
    words.emplace_back();
    int quotes = 0;
    std::size_t backslashes = 0;
    while (i < line.size()) {
        const wchar_t c = line[i];
        if ((c == L' ' || c == L'\t') && quotes == 0) {
            backslashes = 0;
            skipBlanks();
            if (i < line.size()) {
                words.emplace_back();
            }
        } else if (c == L'\\') {
            words.back() += c;
            ++backslashes;
            ++i;
        } else if (c == L'"') {
            std::wstring& word = words.back();
            word.resize(word.size() - backslashes / 2 - backslashes % 2);
            if (backslashes % 2 == 0) {
                ++quotes;
            } else {
                word += L'"';
            }
            backslashes = 0;
            for (++i; i < line.size() && line[i] == L'"'; ++i) {
                if (++quotes == 3) {
                    word += L'"';
                    quotes = 0;
                }
            }
            if (quotes == 2) {
                quotes = 0;
            }
        } else {
            words.back() += c;
            backslashes = 0;
            ++i;
        }
    }
    return words;
}

// As the C runtimes since 2008 fill argv for main and wmain: in the program's word quotes toggle
// and are dropped; in arguments, "" inside quotes is a literal quote and the quotes stay open.
inline std::vector<std::wstring> SplitLikeCRuntime(std::wstring_view line) {
    std::vector<std::wstring> words(1);
    std::size_t i = 0;
    bool quoted = false;
    for (; i < line.size() && (quoted || (line[i] != L' ' && line[i] != L'\t')); ++i) {
        if (line[i] == L'"') {
            quoted = !quoted;
        } else {
            words[0] += line[i];
        }
    }
    quoted = false;
    while (true) {
        while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) {
            ++i;
        }
        if (i == line.size()) {
            return words;
        }
        std::wstring& word = words.emplace_back();
        while (i < line.size() && (quoted || (line[i] != L' ' && line[i] != L'\t'))) {
            if (line[i] == L'\\') {
                std::size_t backslashes = 0;
                for (; i < line.size() && line[i] == L'\\'; ++i) {
                    ++backslashes;
                }
                const bool beforeQuote = i < line.size() && line[i] == L'"';
                word.append(beforeQuote ? backslashes / 2 : backslashes, L'\\');
                if (beforeQuote && backslashes % 2 == 1) {
                    word += L'"';
                    ++i;
                }
            } else if (line[i] == L'"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                    word += L'"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                word += line[i++];
            }
        }
    }
}

}  // namespace kw::test
