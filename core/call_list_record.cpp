#include "core/call_list_record.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <unordered_map>

#include "core/crc32.h"
#include "core/utf8.h"

namespace kw {

namespace {

void PutU32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

std::uint32_t GetU32(std::string_view bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    }
    return value;
}

std::string CleanText(std::string_view text) {
    if (text.size() <= kMaxCallText && IsValidUtf8(text)) {
        return std::string(text);
    }
    std::string out;
    for (const char32_t c : DecodeUtf8(text)) {
        std::string one;
        AppendUtf8(one, c);
        if (out.size() + one.size() > kMaxCallText) {
            break;
        }
        out += one;
    }
    return out;
}

void PutField(std::string& payload, std::string_view field) {
    payload.push_back(static_cast<char>(field.size() & 0xFF));
    payload.push_back(static_cast<char>(field.size() >> 8));
    payload.append(field);
}

std::string Record(std::initializer_list<std::string_view> fields) {
    std::string payload;
    for (const std::string_view field : fields) {
        PutField(payload, field);
    }
    std::string record(kCallRecordMagic);
    PutU32(record, static_cast<std::uint32_t>(payload.size()));
    PutU32(record, Crc32(payload));
    return record + payload;
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The known fields of a record; those after them are skipped.
struct RecordFields {
    std::array<std::string_view, 8> at;
    std::size_t size = 0;
    std::string_view operator[](std::size_t i) const { return at[i]; }
};

// The payload's fields, or nothing when the lengths do not add up.
std::optional<RecordFields> Fields(std::string_view payload) {
    RecordFields fields;
    while (!payload.empty()) {
        if (payload.size() < 2) {
            return std::nullopt;
        }
        const std::size_t length = static_cast<unsigned char>(payload[0]) |
                                   static_cast<std::size_t>(static_cast<unsigned char>(payload[1]))
                                       << 8;
        payload.remove_prefix(2);
        if (length > payload.size()) {
            return std::nullopt;
        }
        if (fields.size < fields.at.size()) {
            fields.at[fields.size++] = payload.substr(0, length);
        }
        payload.remove_prefix(length);
    }
    return fields;
}

// Gathers the records' effect, keeping memory bounded however many records a file holds.
class Merger {
  public:
    explicit Merger(std::size_t keep) : keep_(std::max<std::size_t>(keep, 1)) {
        index_.reserve(std::min<std::size_t>(keep_, 1 << 16));
    }

    bool apply(const RecordFields& f) {
        if (f.size < 2) {
            return false;
        }
        const auto key = ParseNumber<std::uint64_t>(f[1]);
        if (!key) {
            return false;
        }
        if (f[0] == "entry" && f.size >= 8) {
            const auto time = ParseNumber<std::int64_t>(f[2]);
            const auto source = SourceFromWord(f[6]);
            const auto outcome = OutcomeFromWord(f[7]);
            if (!time || !source || !outcome) {
                return false;
            }
            add(CallEntry{*key, *time, CleanText(f[3]), CleanText(f[4]), CleanText(f[5]), *source,
                          *outcome});
            return true;
        }
        if (f[0] == "outcome" && f.size >= 3) {
            const auto outcome = OutcomeFromWord(f[2]);
            if (!outcome) {
                return false;
            }
            if (CallEntry* entry = find(*key)) {
                entry->outcome = Merged(entry->outcome, *outcome);
            }
            return true;
        }
        if (f[0] == "removed") {
            if (const auto at = index_.find(*key); at != index_.end()) {
                removed_[at->second] = true;
            }
            return true;
        }
        return false;
    }

    std::vector<CallEntry> take() {
        std::vector<CallEntry> kept;
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (!removed_[i]) {
                kept.push_back(std::move(entries_[i]));
            }
        }
        if (kept.size() > keep_) {
            kept.erase(kept.begin(), kept.end() - static_cast<std::ptrdiff_t>(keep_));
        }
        return kept;
    }

  private:
    CallEntry* find(std::uint64_t key) {
        const auto at = index_.find(key);
        return at == index_.end() ? nullptr : &entries_[at->second];
    }

    void add(CallEntry entry) {
        if (CallEntry* known = find(entry.key)) {
            known->outcome = Merged(known->outcome, entry.outcome);
            return;
        }
        if (entries_.size() >= 2 * keep_) {
            const std::size_t drop = entries_.size() - keep_;
            entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(drop));
            removed_.erase(removed_.begin(), removed_.begin() + static_cast<std::ptrdiff_t>(drop));
            index_.clear();
            for (std::size_t i = 0; i < entries_.size(); ++i) {
                index_[entries_[i].key] = i;
            }
        }
        index_[entry.key] = entries_.size();
        entries_.push_back(std::move(entry));
        removed_.push_back(false);
    }

    std::size_t keep_;
    std::vector<CallEntry> entries_;
    std::vector<bool> removed_;
    std::unordered_map<std::uint64_t, std::size_t> index_;
};

}  // namespace

std::string EncodeCallEntry(const CallEntry& entry) {
    return Record({"entry", std::to_string(entry.key), std::to_string(entry.time),
                   CleanText(entry.caller), CleanText(entry.called), CleanText(entry.name),
                   SourceWord(entry.source), OutcomeWord(entry.outcome)});
}

std::string EncodeCallOutcome(std::uint64_t key, CallOutcome outcome) {
    return Record({"outcome", std::to_string(key), OutcomeWord(outcome)});
}

std::string EncodeCallRemoved(std::uint64_t key) {
    return Record({"removed", std::to_string(key)});
}

CallListContents ReadCallList(std::string_view bytes, std::size_t keep) {
    CallListContents contents;
    Merger merger(keep);
    std::size_t at = 0;
    bool inDamage = false;
    const auto damage = [&] {
        if (!inDamage) {
            ++contents.damaged;
            inDamage = true;
        }
    };
    while (at < bytes.size()) {
        const std::size_t magic = bytes.find(kCallRecordMagic, at);
        if (magic != at) {
            damage();
            if (magic == std::string_view::npos) {
                break;
            }
            at = magic;
        }
        const std::string_view rest = bytes.substr(at);
        const std::size_t length = rest.size() >= kCallRecordHeader ? GetU32(rest.substr(4)) : 0;
        if (rest.size() < kCallRecordHeader || length > kMaxCallRecordPayload ||
            length > rest.size() - kCallRecordHeader ||
            Crc32(rest.substr(kCallRecordHeader, length)) != GetU32(rest.substr(8))) {
            // A torn or overwritten record: the next one may start inside it.
            damage();
            at += 1;
            continue;
        }
        const auto fields = Fields(rest.substr(kCallRecordHeader, length));
        inDamage = false;
        if (fields && merger.apply(*fields)) {
            ++contents.records;
        } else {
            ++contents.damaged;
        }
        at += kCallRecordHeader + length;
    }
    contents.entries = merger.take();
    return contents;
}

bool CallListWantsCompaction(const CallListContents& contents, std::size_t fileBytes,
                             std::size_t keep) {
    // An entry and its outcome are two records; three times the kept calls is well beyond.
    constexpr std::size_t kMaxBytes = 32 * 1024 * 1024;
    return contents.records + contents.damaged > 3 * keep || fileBytes > kMaxBytes;
}

std::string EncodeCallList(const std::vector<CallEntry>& entries) {
    std::string out;
    for (const CallEntry& entry : entries) {
        out += EncodeCallEntry(entry);
    }
    return out;
}

}  // namespace kw
