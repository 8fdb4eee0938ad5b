#include "core/phone_number.h"

#include <cstddef>

#include "core/book_text.h"

namespace kw {

namespace {

constexpr std::size_t kMaxDigits = 15;  // the longest international number
constexpr std::size_t kMinDigits = 2;

// How numbers are dialled in the user's country: most use "00" abroad and "0" before the area
// code; North America and Italy differ.
struct DiallingRules {
    std::string_view international = "00";
    std::string_view trunk = "0";    // empty: the leading "0" belongs to the number
    std::size_t nationalLength = 0;  // where every number has it, dialled without trunk
};

DiallingRules RulesFor(std::string_view countryCode) {
    if (countryCode == "1") {
        return {"011", "1", 10};
    }
    if (countryCode == "39" || countryCode == "378" || countryCode == "379") {
        return {"00", ""};
    }
    return {};
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSeparator(char c) {
    return c == ' ' || c == '-' || c == '/' || c == '.' || c == '(' || c == ')' || c == '\t';
}

std::string DigitsOf(std::string_view text) {
    std::string digits;
    for (const char c : text) {
        if (IsDigit(c)) {
            digits += c;
        }
    }
    return digits;
}

// The digits with "+" in front for an international number, after the checks above; empty when
// the text is no number.
std::string Canonical(std::string_view text, const NumberHome& home) {
    text = TrimBlanks(text);
    if (text.size() > kMaxNumberText) {
        return {};
    }
    if (StartsWithNoCase(text, "tel:")) {
        text = text.substr(4);
        text = text.substr(0, text.find(';'));  // parameters of the address, not digits
    }
    bool plus = false;
    if (!text.empty() && text.front() == '+') {
        plus = true;
        text.remove_prefix(1);
    }
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            digits += c;
        } else if (!IsSeparator(c)) {
            return {};
        }
    }
    if (digits.size() > kMaxDigits + 4 || digits.size() < kMinDigits) {
        return {};
    }

    const DiallingRules rules = RulesFor(home.countryCode);
    const std::string country = DigitsOf(home.countryCode);
    std::string international;
    if (plus) {
        international = digits;
    } else if (digits.starts_with(rules.international)) {
        international = digits.substr(rules.international.size());
    } else if (!rules.trunk.empty() && digits.starts_with(rules.trunk)) {
        international = country + digits.substr(rules.trunk.size());
    } else if (rules.trunk.empty() || digits.size() == rules.nationalLength) {
        international = country + digits;  // there every number is dialled whole
    } else {
        std::string area = DigitsOf(home.areaCode);
        if (!rules.trunk.empty() && area.starts_with(rules.trunk)) {
            area.erase(0, rules.trunk.size());
        }
        if (area.empty()) {
            return digits.size() <= kMaxDigits ? digits : std::string();
        }
        international = country + area + digits;
    }

    // "+49 (0)30 …": the trunk "0" written in brackets after the country code is not dialled.
    const bool written = plus || digits.starts_with(rules.international);
    if (written) {
        const std::size_t bracket = text.find("(0)");
        if (bracket != std::string_view::npos) {
            const std::size_t before =
                DigitsOf(text.substr(0, bracket)).size() - (plus ? 0 : rules.international.size());
            if (before >= 1 && before <= 3 && before < international.size()) {
                international.erase(before, 1);
            }
        }
    }
    // "+49 030 …": no number of one's own country starts with its trunk "0", so it was written
    // in by habit.
    if (written && rules.trunk == "0" && !country.empty() &&
        international.starts_with(country + "0")) {
        international.erase(country.size(), 1);
    }
    if (international.size() > kMaxDigits || international.size() < kMinDigits ||
        international.front() == '0') {
        return {};
    }
    return "+" + international;
}

}  // namespace

std::string CanonicalNumber(std::string_view text, const NumberHome& home) {
    return Canonical(text, home);
}

std::optional<std::string> CompanyLine(std::string_view text, const NumberHome& home) {
    text = TrimBlanks(text);
    if (text.ends_with('0')) {
        const std::string_view before = TrimBlanks(text.substr(0, text.size() - 1));
        text = before.ends_with('-') ? before : std::string_view();
    }
    if (!text.ends_with('-')) {
        return std::nullopt;
    }
    std::string line = Canonical(text.substr(0, text.size() - 1), home);
    if (line.empty()) {
        return std::nullopt;
    }
    return line;
}

}  // namespace kw
