#include "core/call_outcome.h"

#include <array>
#include <utility>

namespace kw {

namespace {

// One row per value: the file's word, then the text shown.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kOutcomes{{
    {"unknown", ""},
    {"answered", "angenommen"},
    {"missed", "verpasst"},
}};
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kSources{{
    {"router", "Router"},
    {"sip", "SIP"},
    {"ring", "klingelwart-ring"},
    {"control", "Softphone"},
}};

template <typename Enum, std::size_t N>
std::optional<Enum> FromWord(
    const std::array<std::pair<std::string_view, std::string_view>, N>& rows,
    std::string_view word) {
    for (std::size_t i = 0; i < N; ++i) {
        if (rows[i].first == word) {
            return static_cast<Enum>(i);
        }
    }
    return std::nullopt;
}

}  // namespace

std::string_view OutcomeWord(CallOutcome outcome) {
    return kOutcomes[static_cast<std::size_t>(outcome)].first;
}
std::optional<CallOutcome> OutcomeFromWord(std::string_view word) {
    return FromWord<CallOutcome>(kOutcomes, word);
}
std::string_view SourceWord(CallSourceKind source) {
    return kSources[static_cast<std::size_t>(source)].first;
}
std::optional<CallSourceKind> SourceFromWord(std::string_view word) {
    return FromWord<CallSourceKind>(kSources, word);
}
std::string_view OutcomeText(CallOutcome outcome) {
    return kOutcomes[static_cast<std::size_t>(outcome)].second;
}
std::string_view SourceText(CallSourceKind source) {
    return kSources[static_cast<std::size_t>(source)].second;
}

}  // namespace kw
