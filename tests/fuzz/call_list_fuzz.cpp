#include <cstddef>
#include <cstdint>
#include <set>
#include <string_view>

#include "core/call_list_record.h"
#include "core/utf8.h"
#include "tests/fuzz/fuzz_require.h"

using namespace kw;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t keep = size == 0 ? 1 : 1 + data[0] % 16;
    const CallListContents read = ReadCallList(bytes, keep);
    KW_FUZZ_REQUIRE(read.entries.size() <= keep);
    std::set<std::uint64_t> keys;
    for (const CallEntry& entry : read.entries) {
        KW_FUZZ_REQUIRE(keys.insert(entry.key).second);
        for (const std::string* text : {&entry.caller, &entry.called, &entry.name}) {
            KW_FUZZ_REQUIRE(text->size() <= kMaxCallText && IsValidUtf8(*text));
        }
    }
    // What was read survives being written and read again, without damage.
    const CallListContents again = ReadCallList(EncodeCallList(read.entries), keep);
    KW_FUZZ_REQUIRE(again.damaged == 0 && again.entries == read.entries);
    // Bytes appended after a torn record are still found.
    const std::string tail = EncodeCallEntry(CallEntry{~0ULL, 0, "1", "2", "", {}, {}});
    const CallListContents appended = ReadCallList(std::string(bytes) + tail, keep);
    KW_FUZZ_REQUIRE(!appended.entries.empty() && appended.entries.back().key == ~0ULL);
    return 0;
}
