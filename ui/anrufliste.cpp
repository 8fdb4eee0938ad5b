#include "ui/anrufliste.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <unordered_map>

#include "core/app_options.h"
#include "core/call_list_csv.h"
#include "core/messages.h"
#include "ui/anrufliste_layout.h"

namespace kw::ui {

namespace {

std::uint64_t SeenKey(platform::SettingsStore& store) {
    const std::string text =
        store.read(kApplicationName, anrufliste::kSeenSection, anrufliste::kSeenKey);
    std::uint64_t key = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), key);
    // A damaged value counts every missed call as unseen rather than hiding some.
    return error == std::errc() && end == text.data() + text.size() ? key : 0;
}

// Empty on success, else the German reason. The path is UTF-8, so that Windows opens the file
// by its wide name.
std::string WriteFile(std::string_view path, std::string_view bytes) {
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) {
        return "Die Datei kann nicht zum Schreiben geöffnet werden.";
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out ? std::string() : "Die Datei konnte nicht vollständig geschrieben werden.";
}

}  // namespace

std::size_t UnseenMissedCalls(const CallLog& log, platform::SettingsStore& store) {
    return log.missedAfter(SeenKey(store));
}

Anrufliste::Anrufliste(AnruflisteView& view, AnruflistePlatform& platform)
    : view_(view), platform_(platform) {}

void Anrufliste::load() {
    show();
    const auto& entries = platform_.log.entries();
    if (!entries.empty() && entries.back().key > SeenKey(platform_.store)) {
        // Unsaved, the count just comes back at the next start; not worth a message.
        static_cast<void>(platform_.store.write(kApplicationName, anrufliste::kSeenSection,
                                                anrufliste::kSeenKey,
                                                std::to_string(entries.back().key)));
    }
}

void Anrufliste::filterClicked() {
    show();
}

void Anrufliste::show() {
    const bool onlyMissed = view_.onlyMissed();
    rows_.clear();
    shown_.clear();
    CallTimeFormatter times;
    const auto& entries = platform_.log.entries();
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (!onlyMissed || entry->outcome == CallOutcome::Missed) {
            rows_.push_back(CallListRowOf(*entry, times));
            shown_.push_back(entry->key);
        }
    }
    view_.showRows(rows_);
}

std::vector<const CallEntry*> Anrufliste::selected() {
    std::vector<std::size_t> rows = view_.selectedRows();
    std::sort(rows.begin(), rows.end());
    // One pass over the list, however many of its 20,000 calls are selected.
    std::unordered_map<std::uint64_t, const CallEntry*> found;
    for (const std::size_t row : rows) {
        if (row < shown_.size()) {
            found.emplace(shown_[row], nullptr);
        }
    }
    for (const CallEntry& entry : platform_.log.entries()) {
        if (const auto wanted = found.find(entry.key); wanted != found.end()) {
            wanted->second = &entry;
        }
    }
    std::vector<const CallEntry*> calls;
    for (const std::size_t row : rows) {
        if (row < shown_.size() && found[shown_[row]] != nullptr) {
            calls.push_back(found[shown_[row]]);
        }
    }
    return calls;
}

void Anrufliste::runClicked() {
    const auto calls = selected();
    if (!calls.empty() && platform_.runAction) {
        platform_.runAction(calls.front()->caller, calls.front()->called);
    }
}

void Anrufliste::copyClicked() {
    const auto calls = selected();
    if (!calls.empty() && !calls.front()->caller.empty()) {
        platform_.clipboard.setText(calls.front()->caller);
    }
}

void Anrufliste::deleteClicked() {
    std::vector<std::uint64_t> keys;
    for (const CallEntry* call : selected()) {
        keys.push_back(call->key);
    }
    if (keys.empty()) {
        return;
    }
    const std::string error = platform_.log.remove(keys);
    show();
    if (!error.empty()) {
        complain(anrufliste::kNotChanged, error);
    }
}

void Anrufliste::clearClicked() {
    if (platform_.log.entries().empty() ||
        platform_.messages.show(anrufliste::kClearQuestion, anrufliste::kTitle,
                                platform::MessageIcon::Question,
                                platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes) {
        return;
    }
    const std::string error = platform_.log.clear();
    show();
    if (!error.empty()) {
        complain(anrufliste::kNotChanged, error);
    }
}

void Anrufliste::exportClicked() {
    auto chosen = platform_.files.saveFile(anrufliste::kExportTitle, anrufliste::kExportFileName,
                                           anrufliste::kExportFilter);
    if (!chosen.ok()) {
        complain(anrufliste::kExportFailed, FailureText(chosen.failure()));
        return;
    }
    if (chosen.value() == anrufliste::kExportFileName) {
        return;  // cancelled
    }
    // What the window shows, in its order.
    const std::string error = WriteFile(chosen.value(), CallListCsv(rows_));
    if (!error.empty()) {
        complain(anrufliste::kExportFailed, error);
    }
}

void Anrufliste::closeClicked() {
    view_.close();
}

void Anrufliste::complain(std::string_view text, std::string_view reason) {
    std::string message(text);
    message += kCrLf;
    message += kCrLf;
    message += reason;
    platform_.messages.show(message, anrufliste::kTitle, platform::MessageIcon::Critical,
                            platform::MessageButtons::Ok);
}

}  // namespace kw::ui
