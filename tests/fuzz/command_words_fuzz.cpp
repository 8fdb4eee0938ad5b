#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/filled_command.h"
#include "core/replace_all.h"
#include "platform/posix/command_words.h"
#include "tests/fuzz/fuzz_require.h"

namespace {

using namespace kw;

// Stand-ins for the numbers: templates holding this byte are skipped, so each marker is found
// again in the words exactly where its number went. Not a syntax character, so skipping them
// loses nothing.
constexpr char kMarkerByte = '\xFF';

std::string Marker(std::size_t index) {
    return kMarkerByte + std::to_string(index) + kMarkerByte;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string caller = input.ConsumeRandomLengthString(64);
    const std::string called = input.ConsumeRandomLengthString(64);
    const std::string name = input.ConsumeRandomLengthString(64);
    const std::string shellTemplate = input.ConsumeRemainingBytesAsString();

    // The name goes in first, then the numbers, each a plain replace-all over the whole text.
    const FilledCommand filled = FillTemplate(shellTemplate, caller, called, name);
    KW_FUZZ_REQUIRE(filled.text() ==
                    ReplaceAll(ReplaceAll(ReplaceAll(shellTemplate, kCallerNamePlaceholder, name),
                                          kCallerPlaceholder, caller),
                               kCalledPlaceholder, called));

    // The same command with every number piece swapped for a marker.
    std::vector<CommandPiece> marked;
    std::vector<std::string> numbers;
    for (const CommandPiece& piece : filled.pieces()) {
        if (piece.fromNumber) {
            marked.push_back({Marker(numbers.size()), true});
            numbers.push_back(piece.text);
        } else {
            if (piece.text.find(kMarkerByte) != std::string::npos) {
                return 0;
            }
            marked.push_back(piece);
        }
    }

    auto split = posix::SplitCommandWords(filled);
    auto markedSplit = posix::SplitCommandWords(FilledCommand(marked));
    KW_FUZZ_REQUIRE(split.ok() == markedSplit.ok());
    if (!split.ok()) {
        return 0;
    }
    const std::vector<posix::CommandWord>* words = &split.value();
    const std::vector<posix::CommandWord>* markedWords = &markedSplit.value();
    // Numbers change no word boundary, and each sits verbatim where its marker is: so a number
    // never becomes the program unless the template put it there.
    KW_FUZZ_REQUIRE(words->size() == markedWords->size());
    std::size_t found = 0;
    for (std::size_t w = 0; w < words->size(); ++w) {
        const std::string& withMarkers = (*markedWords)[w].text;
        std::string expected;
        for (std::size_t at = 0; at < withMarkers.size();) {
            if (withMarkers[at] != kMarkerByte) {
                expected += withMarkers[at++];
                continue;
            }
            const std::size_t end = withMarkers.find(kMarkerByte, at + 1);
            KW_FUZZ_REQUIRE(end != std::string::npos);
            const std::size_t index = std::stoul(withMarkers.substr(at + 1, end - at - 1));
            KW_FUZZ_REQUIRE(index == found++);
            expected += numbers[index];
            at = end + 1;
        }
        KW_FUZZ_REQUIRE((*words)[w].text == expected);
        KW_FUZZ_REQUIRE((*words)[w].hasNumber == (*markedWords)[w].hasNumber);
        KW_FUZZ_REQUIRE((*words)[w].hasNumber ==
                        (withMarkers.find(kMarkerByte) != std::string::npos));
    }
    KW_FUZZ_REQUIRE(found == numbers.size());
    return 0;
}
