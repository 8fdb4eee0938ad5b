#include "platform/win32/command_line.h"

#include <cstddef>
#include <string_view>

#include "core/error_numbers.h"
#include "core/messages.h"

namespace kw::win32::command_line {

namespace {

constexpr std::string_view kNumberHoldsNul =
    "Die übermittelte Rufnummer enthält ein Nullzeichen, das den Befehl abschneiden würde. Der "
    "Aufruf wurde aus Sicherheitsgründen abgelehnt.";

constexpr std::string_view kNumberBesideQuote =
    "Die übermittelte Rufnummer steht im Shell-Befehl direkt neben einem Anführungszeichen und "
    "kann dort nicht sicher übergeben werden. Der Aufruf wurde aus Sicherheitsgründen abgelehnt.";

constexpr std::string_view kQuotesReadDifferently =
    "Der Shell-Befehl enthält Anführungszeichen, die nicht jedes Programm gleich liest (zwei "
    "Anführungszeichen hintereinander innerhalb von Anführungszeichen oder Anführungszeichen im "
    "Programmnamen). Die übermittelte Rufnummer kann dort nicht sicher übergeben werden. Der "
    "Aufruf wurde aus Sicherheitsgründen abgelehnt.";

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

Failure NumberDecidesTarget() {
    return Failure{kw::error::kInvalidCall, std::string(kNumberDecidesTarget)};
}

// The command as a row of items: each template character is one item, each number piece
// (empty or not) one item of its own. The parser below sees a number item as an ordinary
// character: that is the meaning the template gives the place where the number stands.
struct Item {
    wchar_t ch = 0;
    const WidePiece* number = nullptr;

    bool isTemplate(wchar_t c) const { return number == nullptr && ch == c; }
    bool isTemplateBlank() const { return number == nullptr && IsBlank(ch); }
};

std::vector<Item> Items(const WideCommand& command) {
    std::vector<Item> items;
    for (const WidePiece& piece : command) {
        if (piece.fromNumber) {
            items.push_back(Item{0, &piece});
        } else {
            for (const wchar_t c : piece.text) {
                items.push_back(Item{c, nullptr});
            }
        }
    }
    return items;
}

// The end of the first word as any parser may see it: quotes toggle, the first blank outside
// quotes ends it. Failure when a number stands in it.
Result<std::size_t> FirstWordEnd(const std::vector<Item>& items) {
    bool quoted = false;
    std::size_t i = 0;
    for (; i < items.size(); ++i) {
        const Item& item = items[i];
        if (item.number != nullptr) {
            return NumberDecidesTarget();
        }
        if (item.ch == L'"') {
            quoted = !quoted;
        } else if (!quoted && IsBlank(item.ch)) {
            break;
        }
    }
    return i;
}

// The C runtimes read quotes differently from CommandLineToArgvW in two places: in the program's
// word they toggle anywhere (CommandLineToArgvW honours only a pair around the whole word), and
// "" inside quotes is a literal quote that keeps the quotes open (CommandLineToArgvW closes
// them). Outside these, both follow the same rules, so a template without them splits alike.
// A template without a number is passed on as written and is not checked.
MaybeFailure CheckReadAlike(const std::vector<Item>& items, std::size_t firstWordEnd) {
    bool hasNumber = false;
    for (const Item& item : items) {
        hasNumber = hasNumber || item.number != nullptr;
    }
    if (!hasNumber) {
        return std::nullopt;
    }
    const Failure refusal{kw::error::kInvalidCall, std::string(kQuotesReadDifferently)};
    std::size_t quotes = 0;
    for (std::size_t i = 0; i < firstWordEnd; ++i) {
        quotes += items[i].isTemplate(L'"') ? 1 : 0;
    }
    if (quotes != 0 &&
        !(quotes == 2 && items[0].isTemplate(L'"') && items[firstWordEnd - 1].isTemplate(L'"'))) {
        return refusal;
    }

    bool quoted = false;
    std::size_t backslashes = 0;
    for (std::size_t i = firstWordEnd; i < items.size();) {
        if (items[i].isTemplate(L'\\')) {
            ++backslashes;
            ++i;
            continue;
        }
        if (!items[i].isTemplate(L'"')) {
            backslashes = 0;
            ++i;
            continue;
        }
        std::size_t run = 0;
        for (; i < items.size() && items[i].isTemplate(L'"'); ++i) {
            ++run;
        }
        if (backslashes % 2 == 1) {
            --run;  // an escaped quote is a plain character to both
        }
        backslashes = 0;
        if (run >= (quoted ? 2u : 3u)) {
            return refusal;
        }
        if (run == 1) {
            quoted = !quoted;
        }
    }
    return std::nullopt;
}

// Where each number stands, as CommandLineToArgvW reads the line with the numbers as ordinary
// characters. Follows its algorithm step by step, the treatment of quote runs included.
struct NumberPlace {
    bool quoted = false;       // inside quotes of the template
    bool wordStart = false;    // the first thing of its word
    bool wordEnd = false;      // the last thing of its word
    bool quoteBefore = false;  // a template quote stands directly before it
    bool quoteAfter = false;   // ... directly after it
};

// By item index; meaningful for number items only.
std::vector<NumberPlace> Read(const std::vector<Item>& items) {
    std::vector<NumberPlace> places(items.size());
    const std::size_t n = items.size();

    // The program's word follows its own rules: to the next quote, or to the next blank.
    std::size_t i = 0;
    if (n > 0 && items[0].isTemplate(L'"')) {
        for (i = 1; i < n;) {
            if (items[i++].isTemplate(L'"')) {
                break;
            }
        }
    } else {
        while (i < n && !items[i].isTemplateBlank()) {
            ++i;
        }
    }
    while (i < n && items[i].isTemplateBlank()) {
        ++i;
    }
    const std::size_t argumentsStart = i;

    int quotes = 0;
    std::size_t backslashes = 0;
    while (i < n) {
        const Item& item = items[i];
        if (item.isTemplateBlank() && quotes == 0) {
            while (i < n && items[i].isTemplateBlank()) {
                ++i;
            }
            backslashes = 0;
        } else if (item.isTemplate(L'\\')) {
            ++backslashes;
            ++i;
        } else if (item.isTemplate(L'"')) {
            if (backslashes % 2 == 0) {
                ++quotes;
            }
            ++i;
            backslashes = 0;
            while (i < n && items[i].isTemplate(L'"')) {
                if (++quotes == 3) {
                    quotes = 0;
                }
                ++i;
            }
            if (quotes == 2) {
                quotes = 0;
            }
        } else {
            if (item.number != nullptr) {
                NumberPlace& place = places[i];
                place.quoted = quotes == 1;
                place.wordStart =
                    i == argumentsStart || (!place.quoted && items[i - 1].isTemplateBlank());
                place.wordEnd = i + 1 == n || (!place.quoted && items[i + 1].isTemplateBlank());
                place.quoteBefore = i > 0 && items[i - 1].isTemplate(L'"');
                place.quoteAfter = i + 1 < n && items[i + 1].isTemplate(L'"');
            }
            backslashes = 0;
            ++i;
        }
    }
    return places;
}

// The line before backslash runs are settled: what each character is and where it came from.
struct Unit {
    enum class Kind { Template, Number, Mark, OwnQuote };
    Kind kind = Kind::Template;
    wchar_t ch = 0;
};

bool NeedsOwnQuotes(wchar_t c, bool forBatch) {
    if (IsBlank(c)) {
        return true;
    }
    // cmd.exe also splits batch arguments at these.
    return forBatch && (c == L',' || c == L';' || c == L'=' || c == L'\f' || c == L'\v');
}

void AddNumber(std::vector<Unit>& units, std::wstring_view text, std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to; ++k) {
        units.push_back(Unit{Unit::Kind::Number, text[k]});
    }
}

MaybeFailure AddNumberUnits(std::vector<Unit>& units, const std::wstring& text,
                            const NumberPlace& place, bool forBatch) {
    if (text.empty() && !place.quoted && place.quoteBefore && place.quoteAfter) {
        // A closing and an opening quote with nothing between them would read as a literal quote.
        // (Inside quotes, as in "{MSN}", the pair closes the quotes either way.)
        return Failure{kw::error::kInvalidCall, std::string(kNumberBesideQuote)};
    }
    if (place.quoted) {
        if (text.empty()) {
            units.push_back(Unit{Unit::Kind::Mark});
        }
        AddNumber(units, text, 0, text.size());
        return std::nullopt;
    }
    if (text.empty()) {
        if (place.wordStart && place.wordEnd) {
            // Alone it would be no word at all; "" keeps the word in its place.
            units.push_back(Unit{Unit::Kind::OwnQuote, L'"'});
            units.push_back(Unit{Unit::Kind::OwnQuote, L'"'});
        } else {
            units.push_back(Unit{Unit::Kind::Mark});
        }
        return std::nullopt;
    }
    std::size_t first = text.size();
    std::size_t last = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (NeedsOwnQuotes(text[k], forBatch)) {
            first = first == text.size() ? k : first;
            last = k + 1;
        }
    }
    if (first == text.size()) {
        AddNumber(units, text, 0, text.size());
        return std::nullopt;
    }
    // The whole number in quotes, unless a template quote stands beside it: two quotes in a row
    // mean a literal quote to the parser, so the quotes then hug the separators only.
    const std::size_t open = place.quoteBefore ? first : 0;
    const std::size_t close = place.quoteAfter ? last : text.size();
    if ((place.quoteBefore && open == 0) || (place.quoteAfter && close == text.size())) {
        return Failure{kw::error::kInvalidCall, std::string(kNumberBesideQuote)};
    }
    AddNumber(units, text, 0, open);
    units.push_back(Unit{Unit::Kind::OwnQuote, L'"'});
    AddNumber(units, text, open, close);
    units.push_back(Unit{Unit::Kind::OwnQuote, L'"'});
    AddNumber(units, text, close, text.size());
    return std::nullopt;
}

bool IsBackslashRun(const Unit& unit) {
    return unit.kind == Unit::Kind::Mark ||
           (unit.ch == L'\\' &&
            (unit.kind == Unit::Kind::Template || unit.kind == Unit::Kind::Number));
}

// Writes a run of backslashes (and the number marks among them) that ends before `next`.
// Backslashes only mean something before a quote: there, each one meant literally must be
// written twice. The template's own backslashes are written as they are; the missing ones go
// into the number's places, which are data and may be written any way that reads back right.
void FlushRun(std::wstring& line, const std::vector<Unit>& run, const Unit* next) {
    enum class Ends { Other, TemplateQuote, OwnQuote, NumberQuote };
    Ends ends = Ends::Other;
    if (next != nullptr && next->ch == L'"') {
        if (next->kind == Unit::Kind::Template) {
            ends = Ends::TemplateQuote;
        } else if (next->kind == Unit::Kind::OwnQuote) {
            ends = Ends::OwnQuote;
        } else {
            ends = Ends::NumberQuote;
        }
    }
    if (ends == Ends::Other) {
        for (const Unit& unit : run) {
            if (unit.kind != Unit::Kind::Mark) {
                line += L'\\';
            }
        }
        return;
    }

    // Before a template quote, the template backslashes after the last number place belong to
    // that quote as the template wrote them; the ones before it are literal.
    std::size_t lastNumber = run.size();
    if (ends == Ends::TemplateQuote) {
        for (std::size_t k = 0; k < run.size(); ++k) {
            if (run[k].kind != Unit::Kind::Template) {
                lastNumber = k;
            }
        }
    }
    std::size_t literalTemplate = 0;
    for (std::size_t k = 0; k < run.size(); ++k) {
        const Unit& unit = run[k];
        if (unit.kind == Unit::Kind::Template) {
            line += L'\\';
            if (ends != Ends::TemplateQuote || k < lastNumber) {
                ++literalTemplate;
            }
        } else if (unit.kind == Unit::Kind::Number) {
            line += L"\\\\";
        }
        if (k == lastNumber) {
            line.append(literalTemplate, L'\\');
        }
    }
    if (ends != Ends::TemplateQuote) {
        line.append(literalTemplate, L'\\');
    }
    if (ends == Ends::NumberQuote) {
        line += L'\\';
    }
}

}  // namespace

Result<std::vector<std::wstring>> ProgramCandidates(const WideCommand& command) {
    for (const WidePiece& piece : command) {
        if (piece.text.find(L'\0') != std::wstring::npos) {
            return piece.fromNumber ? Failure{kw::error::kInvalidCall, std::string(kNumberHoldsNul)}
                                    : MakeFailure(kw::error::kInvalidCall);
        }
    }
    const std::vector<Item> items = Items(command);
    if (items.empty()) {
        return MakeFailure(kw::error::kInvalidCall);
    }
    Result<std::size_t> firstWord = FirstWordEnd(items);
    if (!firstWord.ok()) {
        return firstWord.failure();
    }
    if (MaybeFailure failure = CheckReadAlike(items, firstWord.value())) {
        return *failure;
    }

    std::vector<std::wstring> candidates;
    if (items[0].isTemplate(L'"')) {
        std::wstring name;
        for (std::size_t i = 1; i < items.size(); ++i) {
            if (items[i].number != nullptr) {
                break;
            }
            if (items[i].ch == L'"') {
                candidates.push_back(name);
                break;
            }
            name += items[i].ch;
        }
        return candidates;  // an unclosed quote names no program
    }
    std::wstring name;
    for (std::size_t i = 0; i <= items.size(); ++i) {
        if (i < items.size() && items[i].number != nullptr) {
            break;
        }
        if (i == items.size() || IsBlank(items[i].ch)) {
            candidates.push_back(name);
        }
        if (i < items.size()) {
            name += items[i].ch;
        }
    }
    return candidates;
}

bool HoldsBatchMetacharacter(const std::wstring& number) {
    return number.find_first_of(L"&|<>^%\"()!\r\n") != std::wstring::npos;
}

Result<std::wstring> Build(const WideCommand& command, bool forBatch) {
    const std::vector<Item> items = Items(command);
    Result<std::size_t> firstWord = FirstWordEnd(items);
    if (!firstWord.ok()) {
        return firstWord.failure();
    }
    if (MaybeFailure failure = CheckReadAlike(items, firstWord.value())) {
        return *failure;
    }
    const std::vector<NumberPlace> places = Read(items);

    std::vector<Unit> units;
    units.reserve(items.size() * 2);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        if (item.number == nullptr) {
            units.push_back(Unit{Unit::Kind::Template, item.ch});
            continue;
        }
        if (MaybeFailure failure = AddNumberUnits(units, item.number->text, places[i], forBatch)) {
            return *failure;
        }
    }

    std::wstring line;
    line.reserve(units.size() + units.size() / 4);
    std::vector<Unit> run;
    for (std::size_t k = 0; k <= units.size(); ++k) {
        const Unit* unit = k < units.size() ? &units[k] : nullptr;
        if (unit != nullptr && IsBackslashRun(*unit)) {
            run.push_back(*unit);
            continue;
        }
        FlushRun(line, run, unit);
        run.clear();
        if (unit != nullptr) {
            line += unit->ch;
        }
    }
    return line;
}

}  // namespace kw::win32::command_line
