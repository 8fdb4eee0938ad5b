#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/call_list_record.h"
#include "core/call_tracker.h"
#include "platform/call_list_file.h"

namespace kw {

// The call list in memory and on disk. An entry counts only once its file says so: when writing
// fails the entry is not kept, and the German reason is returned once, not again for every call
// until a write has succeeded.
class CallLog {
  public:
    explicit CallLog(platform::CallListFile& file, std::size_t keep = kKeptCalls);

    // Reads the file; rewrites it when it has grown well beyond what it keeps. Returns a German
    // message when it could not be read (the list is then empty and stays writable).
    std::string load();

    std::string add(const CallEntry& entry);
    std::string setOutcome(std::uint64_t key, CallOutcome outcome);
    std::string remove(const std::vector<std::uint64_t>& keys);
    std::string clear();

    const std::deque<CallEntry>& entries() const { return entries_; }  // oldest first
    // Missed calls that rang after the call with key `seen` (keys grow with time): those since
    // the list was last looked at, when `seen` is the newest key then.
    std::size_t missedAfter(std::uint64_t seen) const;
    std::size_t damaged() const { return damaged_; }
    // Whether the last write failed.
    bool failing() const { return failing_; }

  private:
    std::string written(const std::string& error);
    void compactIfDue();
    void compact();

    platform::CallListFile& file_;
    std::size_t keep_;
    std::deque<CallEntry> entries_;
    std::size_t damaged_ = 0;
    std::size_t records_ = 0;  // in the file, for knowing when to rewrite it
    bool failing_ = false;
};

// The list's entry for a call the tracker announced; `name` from the address book, or empty.
CallEntry CallEntryOf(const CallRing& ring, std::string_view name);

// "Der Anruf konnte nicht in die Anrufliste geschrieben werden (<reason>). Ältere Einträge
// bleiben erhalten."
std::string CallLogWriteFailed(std::string_view reason);

}  // namespace kw
