#pragma once

// The argv recorders write each field as "<length>:<bytes>\n", so that any byte (a newline, a
// NUL, a quote) comes back as it was sent.

#include <cstddef>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kw::testing {

// Absent when a field is cut short.
inline std::optional<std::vector<std::string>> ReadLengthPrefixedFields(const std::string& data) {
    std::vector<std::string> fields;
    std::istringstream in(data);
    std::size_t length = 0;
    while (in >> length && in.get() == ':') {
        std::string field(length, '\0');
        if (!in.read(field.data(), static_cast<std::streamsize>(length)) || in.get() != '\n') {
            return std::nullopt;
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

}  // namespace kw::testing
