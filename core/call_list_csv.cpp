#include "core/call_list_csv.h"

#include <string_view>

namespace kw {

namespace {

void AppendCell(std::string& out, std::string_view cell) {
    std::string text;
    if (!cell.empty() &&
        std::string_view("=+-@\t\r").find(cell.front()) != std::string_view::npos) {
        text = "'";
    }
    text += cell;
    if (text.find_first_of(";\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

template <typename Cells>
void AppendLine(std::string& out, const Cells& cells) {
    bool first = true;
    for (const auto& cell : cells) {
        if (!first) {
            out += ';';
        }
        first = false;
        AppendCell(out, cell);
    }
    out += "\r\n";
}

}  // namespace

std::string CallListCsv(const std::vector<CallListRow>& rows) {
    std::string out = "\xEF\xBB\xBF";
    AppendLine(out, kCallListColumns);
    for (const CallListRow& row : rows) {
        AppendLine(out, row);
    }
    return out;
}

}  // namespace kw
