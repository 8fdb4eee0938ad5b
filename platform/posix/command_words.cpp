#include "platform/posix/command_words.h"

#include <optional>
#include <string_view>
#include <utility>

#include "core/error_numbers.h"

namespace kw::posix {
namespace {

constexpr std::string_view kOpenQuote = "Im Shell-Befehl fehlt ein schließendes Anführungszeichen.";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Inside double quotes a backslash quotes only these; before anything else it stays a backslash.
bool QuotableInDoubleQuotes(char c) {
    return c == '$' || c == '`' || c == '"' || c == '\\' || c == '\n';
}

class Splitter {
  public:
    void addTemplate(std::string_view text) {
        for (const char c : text) {
            addTemplateChar(c);
        }
    }

    // Number text is data: it never opens or closes a quote, never separates words, and counts
    // as ordinary characters for a backslash in front of it.
    void addNumber(std::string_view text) {
        if (escaped_) {
            escaped_ = false;
            if (quote_ == Quote::kDouble) {
                word().text += '\\';
            }
        }
        CommandWord& current = word();
        current.text += text;
        current.hasNumber = true;
    }

    Result<std::vector<CommandWord>> finish() && {
        if (quote_ != Quote::kNone) {
            return Failure{error::kInvalidCall, std::string(kOpenQuote)};
        }
        if (escaped_) {
            // A backslash at the very end has nothing to quote; it stays, as in sh -c.
            word().text += '\\';
        }
        closeWord();
        return std::move(words_);
    }

  private:
    enum class Quote { kNone, kSingle, kDouble };

    void addTemplateChar(char c) {
        if (escaped_) {
            escaped_ = false;
            if (c == '\n') {
                return;  // line continuation
            }
            if (quote_ == Quote::kDouble && !QuotableInDoubleQuotes(c)) {
                word().text += '\\';
            }
            word().text += c;
            return;
        }
        switch (quote_) {
            case Quote::kSingle:
                if (c == '\'') {
                    quote_ = Quote::kNone;
                } else {
                    word().text += c;
                }
                return;
            case Quote::kDouble:
                if (c == '"') {
                    quote_ = Quote::kNone;
                } else if (c == '\\') {
                    escaped_ = true;
                } else {
                    word().text += c;
                }
                return;
            case Quote::kNone:
                break;
        }
        if (IsBlank(c)) {
            closeWord();
        } else if (c == '\'' || c == '"') {
            word();  // so that '' and "" make an empty word
            quote_ = c == '\'' ? Quote::kSingle : Quote::kDouble;
        } else if (c == '\\') {
            escaped_ = true;
        } else {
            word().text += c;
        }
    }

    CommandWord& word() {
        if (!current_) {
            current_.emplace();
        }
        return *current_;
    }

    void closeWord() {
        if (current_) {
            words_.push_back(std::move(*current_));
            current_.reset();
        }
    }

    std::vector<CommandWord> words_;
    std::optional<CommandWord> current_;
    Quote quote_ = Quote::kNone;
    bool escaped_ = false;  // a backslash waits for what it quotes
};

}  // namespace

Result<std::vector<CommandWord>> SplitCommandWords(const FilledCommand& command) {
    Splitter splitter;
    for (const CommandPiece& piece : command.pieces()) {
        if (piece.fromNumber) {
            splitter.addNumber(piece.text);
        } else {
            splitter.addTemplate(piece.text);
        }
    }
    return std::move(splitter).finish();
}

}  // namespace kw::posix
