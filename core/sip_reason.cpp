#include "core/sip_reason.h"

#include <cstddef>

namespace kw {

namespace {

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && Blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && Blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// Splits at `separator` outside quoted strings; false when a quote is left open.
template <typename Handler>
bool SplitOutsideQuotes(std::string_view text, char separator, Handler&& onPart) {
    bool quoted = false;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (quoted && text[i] == '\\') {
            ++i;
        } else if (text[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && text[i] == separator) {
            onPart(text.substr(begin, i - begin));
            begin = i + 1;
        }
    }
    if (quoted) {
        return false;
    }
    onPart(text.substr(begin));
    return true;
}

bool SipCause200(std::string_view value) {
    bool first = true;
    bool sip = false;
    bool cause200 = false;
    const bool closed = SplitOutsideQuotes(value, ';', [&](std::string_view part) {
        part = Trim(part);
        if (first) {
            sip = SameName(part, "SIP");
            first = false;
            return;
        }
        const std::size_t equals = part.find('=');
        if (equals != std::string_view::npos && SameName(Trim(part.substr(0, equals)), "cause")) {
            cause200 = Trim(part.substr(equals + 1)) == "200";
        }
    });
    return closed && sip && cause200;
}

}  // namespace

bool AnsweredElsewhere(std::string_view reasonHeader) {
    bool answered = false;
    const bool closed = SplitOutsideQuotes(reasonHeader, ',', [&](std::string_view value) {
        answered = answered || SipCause200(value);
    });
    return closed && answered;
}

}  // namespace kw
