#include "core/filled_command.h"

namespace kw {

std::string FilledCommand::text() const {
    std::string whole;
    for (const auto& piece : pieces_) {
        whole += piece.text;
    }
    return whole;
}

bool FilledCommand::numberWithin(std::size_t count) const {
    std::size_t offset = 0;
    for (const auto& piece : pieces_) {
        if (offset >= count) {
            break;
        }
        if (piece.fromNumber && !piece.text.empty()) {
            return true;
        }
        offset += piece.text.size();
    }
    return false;
}

namespace {

// Appends text to the pieces, joining it with the last piece of the same origin.
void Append(std::vector<CommandPiece>& pieces, std::string_view text, bool fromNumber) {
    if (!pieces.empty() && pieces.back().fromNumber == fromNumber) {
        pieces.back().text += text;
        return;
    }
    if (text.empty() && !fromNumber) {
        return;
    }
    pieces.push_back(CommandPiece{std::string(text), fromNumber});
}

// Replaces every `placeholder` in the text of `pieces` by `number`. The search runs over the
// text as a whole, as a plain replace-all would, so a placeholder that a number piece completes
// is found too; whatever it covered becomes number text.
std::vector<CommandPiece> ReplacePlaceholder(const std::vector<CommandPiece>& pieces,
                                             std::string_view placeholder,
                                             std::string_view number) {
    std::string flat;
    std::vector<bool> fromNumber;
    std::vector<std::size_t> emptyNumbers;  // where an empty number piece stands in `flat`
    for (const auto& piece : pieces) {
        if (piece.fromNumber && piece.text.empty()) {
            emptyNumbers.push_back(flat.size());
        }
        flat += piece.text;
        fromNumber.insert(fromNumber.end(), piece.text.size(), piece.fromNumber);
    }

    std::vector<CommandPiece> result;
    std::size_t nextEmpty = 0;
    auto emitEmptyNumbersUpTo = [&](std::size_t position) {
        while (nextEmpty < emptyNumbers.size() && emptyNumbers[nextEmpty] <= position) {
            Append(result, {}, true);
            ++nextEmpty;
        }
    };
    auto skipEmptyNumbersBefore = [&](std::size_t position) {
        while (nextEmpty < emptyNumbers.size() && emptyNumbers[nextEmpty] < position) {
            ++nextEmpty;
        }
    };

    std::size_t position = 0;
    while (position < flat.size()) {
        emitEmptyNumbersUpTo(position);
        if (flat.compare(position, placeholder.size(), placeholder) == 0) {
            Append(result, number, true);
            position += placeholder.size();
            skipEmptyNumbersBefore(position);
            continue;
        }
        std::size_t run = position + 1;
        while (run < flat.size() && fromNumber[run] == fromNumber[position] &&
               flat.compare(run, placeholder.size(), placeholder) != 0 &&
               !(nextEmpty < emptyNumbers.size() && emptyNumbers[nextEmpty] == run)) {
            ++run;
        }
        Append(result, std::string_view(flat).substr(position, run - position),
               fromNumber[position]);
        position = run;
    }
    emitEmptyNumbersUpTo(flat.size());
    return result;
}

}  // namespace

FilledCommand FillTemplate(std::string_view shellTemplate, std::string_view callerNumber,
                           std::string_view calledNumber, std::string_view callerName) {
    std::vector<CommandPiece> pieces;
    Append(pieces, shellTemplate, false);
    pieces = ReplacePlaceholder(pieces, kCallerNamePlaceholder, callerName);
    pieces = ReplacePlaceholder(pieces, kCallerPlaceholder, callerNumber);
    pieces = ReplacePlaceholder(pieces, kCalledPlaceholder, calledNumber);
    return FilledCommand(std::move(pieces));
}

}  // namespace kw
