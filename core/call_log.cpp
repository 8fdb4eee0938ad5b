#include "core/call_log.h"

#include <algorithm>
#include <string_view>

namespace kw {

std::string CallLogWriteFailed(std::string_view reason) {
    return "Der Anruf konnte nicht in die Anrufliste geschrieben werden (" + std::string(reason) +
           "). Ältere Einträge bleiben erhalten.";
}

CallEntry CallEntryOf(const CallRing& ring, std::string_view name) {
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(ring.time.time_since_epoch()).count();
    return CallEntry{
        ring.key,          seconds,     std::string(ring.caller), std::string(ring.called),
        std::string(name), ring.source, CallOutcome::Unknown};
}

CallLog::CallLog(platform::CallListFile& file, std::size_t keep)
    : file_(file), keep_(std::max<std::size_t>(keep, 1)) {}

std::string CallLog::load() {
    const platform::CallListFileRead read = file_.read();
    CallListContents contents = ReadCallList(read.bytes, keep_);
    entries_.assign(std::make_move_iterator(contents.entries.begin()),
                    std::make_move_iterator(contents.entries.end()));
    damaged_ = contents.damaged;
    records_ = contents.records;
    if (!read.error.empty()) {
        return "Die Anrufliste lässt sich nicht lesen (" + read.error + ").";
    }
    if (CallListWantsCompaction(contents, read.bytes.size(), keep_)) {
        compact();
    }
    return {};
}

std::string CallLog::written(const std::string& error) {
    if (error.empty()) {
        failing_ = false;
        return {};
    }
    if (failing_) {
        return {};
    }
    failing_ = true;
    return CallLogWriteFailed(error);
}

std::string CallLog::add(const CallEntry& entry) {
    std::string message = written(file_.append(EncodeCallEntry(entry)));
    if (!failing_) {
        // Read back the way the file holds it, so memory and file never differ.
        auto stored = ReadCallList(EncodeCallEntry(entry)).entries;
        entries_.push_back(std::move(stored.front()));
        while (entries_.size() > keep_) {
            entries_.pop_front();
        }
        ++records_;
        compactIfDue();
    }
    return message;
}

std::string CallLog::setOutcome(std::uint64_t key, CallOutcome outcome) {
    const auto entry = std::find_if(entries_.rbegin(), entries_.rend(),
                                    [&](const CallEntry& e) { return e.key == key; });
    if (entry == entries_.rend() || Merged(entry->outcome, outcome) == entry->outcome) {
        return {};
    }
    std::string message = written(file_.append(EncodeCallOutcome(key, outcome)));
    if (!failing_) {
        entry->outcome = outcome;
        ++records_;
    }
    return message;
}

std::string CallLog::remove(const std::vector<std::uint64_t>& keys) {
    std::string records;
    for (const std::uint64_t key : keys) {
        records += EncodeCallRemoved(key);
    }
    if (records.empty()) {
        return {};
    }
    const std::string error = file_.append(records);
    if (!error.empty()) {
        return "Die Einträge lassen sich nicht löschen (" + error + ").";
    }
    std::erase_if(entries_, [&](const CallEntry& e) {
        return std::find(keys.begin(), keys.end(), e.key) != keys.end();
    });
    records_ += keys.size();
    return {};
}

std::string CallLog::clear() {
    const std::string error = file_.replace({});
    if (!error.empty()) {
        return "Die Anrufliste lässt sich nicht leeren (" + error + ").";
    }
    entries_.clear();
    records_ = 0;
    return {};
}

std::size_t CallLog::missedAfter(std::uint64_t seen) const {
    std::size_t missed = 0;
    for (auto it = entries_.rbegin(); it != entries_.rend() && it->key > seen; ++it) {
        missed += it->outcome == CallOutcome::Missed ? 1 : 0;
    }
    return missed;
}

void CallLog::compactIfDue() {
    if (records_ > 3 * keep_) {
        compact();
    }
}

void CallLog::compact() {
    const std::vector<CallEntry> kept(entries_.begin(), entries_.end());
    // A failed rewrite loses nothing: the old file stays and is tried again later.
    if (file_.replace(EncodeCallList(kept)).empty()) {
        records_ = kept.size();
    }
}

}  // namespace kw
