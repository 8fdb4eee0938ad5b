#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kw {

// A piece of a filled-in command: text of the user's template, or text of a call number.
struct CommandPiece {
    std::string text;
    bool fromNumber = false;

    friend bool operator==(const CommandPiece&, const CommandPiece&) = default;
};

// The shell command template with the call numbers put in. The pieces remember where each
// character came from, so that a launcher can treat the template as syntax and the numbers as
// data only. A number piece may be empty: it still marks where a placeholder stood.
class FilledCommand {
  public:
    FilledCommand() = default;
    explicit FilledCommand(std::vector<CommandPiece> pieces) : pieces_(std::move(pieces)) {}

    const std::vector<CommandPiece>& pieces() const { return pieces_; }

    // The whole command as one text, as the user reads it in messages.
    std::string text() const;

    // Whether any of the first `count` bytes of text() came from a number.
    bool numberWithin(std::size_t count) const;

  private:
    std::vector<CommandPiece> pieces_;
};

inline constexpr std::string_view kCallerPlaceholder = "{AnrufNummer}";
inline constexpr std::string_view kCalledPlaceholder = "{MSN}";
inline constexpr std::string_view kCallerNamePlaceholder = "{AnrufName}";

// Replaces every "{AnrufNummer}" by the caller number, then, in the result, every "{MSN}" by the
// called number, each exactly and case-sensitively, scanning once from the start without
// rescanning what was put in. A "{MSN}" brought in by the caller number is replaced too.
// Before both, every "{AnrufName}" becomes the caller's name (empty when unknown), as number
// text: so a template without it is filled exactly as before names existed.
FilledCommand FillTemplate(std::string_view shellTemplate, std::string_view callerNumber,
                           std::string_view calledNumber, std::string_view callerName = {});

}  // namespace kw
