#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/call_outcome.h"

namespace kw {

// One call in the list.
struct CallEntry {
    std::uint64_t key = 0;  // the tracker's key; later records about the call name it
    std::int64_t time = 0;  // UTC seconds
    std::string caller;
    std::string called;
    std::string name;  // empty when unknown
    CallSourceKind source = CallSourceKind::RingTool;
    CallOutcome outcome = CallOutcome::Unknown;

    friend bool operator==(const CallEntry&, const CallEntry&) = default;
};

// The list's file, the same on both systems: records appended one after the other, each
//   4 bytes  magic "KWL1"
//   4 bytes  payload length, unsigned little-endian, at most kMaxCallRecordPayload
//   4 bytes  CRC-32 of the payload, little-endian
//   payload  fields, each a 2-byte little-endian length and that many bytes of UTF-8:
//            "entry", key, time, caller, called, name, source, outcome
//            "outcome", key, outcome
//            "removed", key
// Numbers are decimal; source and outcome are the words of call_outcome.h. Fields after the
// known ones are ignored, so that later versions may add some.
inline constexpr std::string_view kCallRecordMagic = "KWL1";
inline constexpr std::size_t kCallRecordHeader = 12;
inline constexpr std::size_t kMaxCallRecordPayload = 8 * 1024;
// Longer caller, called and name texts are cut, at a character's end.
inline constexpr std::size_t kMaxCallText = 1024;
// The newest this many calls are kept.
inline constexpr std::size_t kKeptCalls = 20000;

// Texts become valid UTF-8 (invalid bytes as U+FFFD) and are cut to kMaxCallText.
std::string EncodeCallEntry(const CallEntry& entry);
std::string EncodeCallOutcome(std::uint64_t key, CallOutcome outcome);
std::string EncodeCallRemoved(std::uint64_t key);

struct CallListContents {
    std::vector<CallEntry> entries;  // oldest first, the newest `keep` at most
    std::size_t records = 0;         // intact records read
    std::size_t damaged = 0;         // damaged stretches skipped
};

// Reads what the records say: outcomes and removals applied to their entries, an entry whose key
// came before kept once. Damage (a torn end, overwritten bytes, a wrong checksum, a field that
// makes no sense) is skipped and counted; reading resumes at the next intact record.
CallListContents ReadCallList(std::string_view bytes, std::size_t keep = kKeptCalls);

// Whether the file holds so much more than it keeps that it is worth rewriting.
bool CallListWantsCompaction(const CallListContents& contents, std::size_t fileBytes,
                             std::size_t keep = kKeptCalls);

// The file's new contents: one entry record per kept call.
std::string EncodeCallList(const std::vector<CallEntry>& entries);

}  // namespace kw
