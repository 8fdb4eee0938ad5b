#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kw::test::substitute {

// One log line: fields separated by tabs. Backslash, tab, line breaks and NUL are escaped, so
// that any text, hostile ones included, survives as one field.
inline std::string EscapeField(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\0':
                escaped += "\\0";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

inline std::string UnescapeField(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        switch (text[++i]) {
            case 't':
                plain += '\t';
                break;
            case 'n':
                plain += '\n';
                break;
            case 'r':
                plain += '\r';
                break;
            case '0':
                plain += '\0';
                break;
            default:
                plain += text[i];
        }
    }
    return plain;
}

inline std::string JoinRecord(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0) {
            line += '\t';
        }
        line += EscapeField(fields[i]);
    }
    line += '\n';
    return line;
}

inline std::vector<std::vector<std::string>> SplitRecords(std::string_view log) {
    std::vector<std::vector<std::string>> records;
    while (!log.empty()) {
        const std::size_t end = log.find('\n');
        std::string_view line = log.substr(0, end);
        log.remove_prefix(end == std::string_view::npos ? log.size() : end + 1);
        std::vector<std::string> fields;
        while (true) {
            const std::size_t tab = line.find('\t');
            fields.push_back(UnescapeField(line.substr(0, tab)));
            if (tab == std::string_view::npos) {
                break;
            }
            line.remove_prefix(tab + 1);
        }
        records.push_back(std::move(fields));
    }
    return records;
}

}  // namespace kw::test::substitute
