#include "ui/call_sources.h"

#include <algorithm>
#include <utility>

#include "core/receiving_status.h"

namespace kw::ui {

bool AnyReceiving(const std::vector<platform::CallSourceStatus>& statuses) {
    return std::any_of(statuses.begin(), statuses.end(),
                       [](const platform::CallSourceStatus& status) { return status.receiving; });
}

std::string CallSourcesTooltip(const std::vector<platform::CallSourceStatus>& statuses,
                               std::string_view lineBreak) {
    std::string text;
    for (const platform::CallSourceStatus& status : statuses) {
        if (&status != &statuses.front()) {
            text += lineBreak;
        }
        text += status.text;
    }
    return text;
}

CallSources::CallSources(platform::CallSource::CallHandler onCall, CallSourcesView& view)
    : onCall_(std::move(onCall)), view_(view) {}

void CallSources::add(std::unique_ptr<platform::CallSource> source) {
    if (source == nullptr) {
        return;
    }
    sources_.push_back(std::move(source));
    // A source that breaks its word and never reports still gets a line.
    statuses_.push_back({false, std::string(kNotYetReceiving)});
}

void CallSources::start() {
    starting_ = true;
    for (std::size_t index = 0; index < sources_.size(); ++index) {
        sources_[index]->start(
            [this](std::string_view caller, std::string_view called) {
                if (onCall_) {
                    onCall_(caller, called);
                }
            },
            [this, index](const platform::CallSourceStatus& status) { update(index, status); });
    }
    starting_ = false;
    show();
}

void CallSources::replace(std::vector<std::unique_ptr<platform::CallSource>> sources) {
    sources_.clear();
    statuses_.clear();
    for (std::unique_ptr<platform::CallSource>& source : sources) {
        add(std::move(source));
    }
    start();
}

void CallSources::setNote(std::string_view topic, const std::string& text) {
    setNotes(topic, text.empty() ? std::vector<std::string>{} : std::vector<std::string>{text});
}

void CallSources::setNotes(std::string_view topic, std::vector<std::string> lines) {
    const auto found = std::find_if(notes_.begin(), notes_.end(),
                                    [topic](const auto& note) { return note.first == topic; });
    if (found != notes_.end() && found->second == lines) {
        return;
    }
    if (found != notes_.end()) {
        notes_.erase(found);
    }
    if (!lines.empty()) {
        notes_.emplace_back(topic, std::move(lines));
    }
    show();
}

void CallSources::show() {
    std::vector<platform::CallSourceStatus> lines =
        sources_.empty()
            ? std::vector<platform::CallSourceStatus>{{false, std::string(kNoCallSource)}}
            : statuses_;
    // Not receiving, so that a note alone never makes the phone look ready.
    for (const auto& note : notes_) {
        for (const std::string& line : note.second) {
            lines.push_back({false, line});
        }
    }
    view_.showCallSources(lines);
}

void CallSources::update(std::size_t index, const platform::CallSourceStatus& status) {
    if (statuses_[index] == status) {
        return;
    }
    statuses_[index] = status;
    if (!starting_) {
        show();
    }
}

}  // namespace kw::ui
