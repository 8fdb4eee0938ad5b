#include "ui/call_sources.h"

#include <algorithm>
#include <string>
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

CallSources::CallSources(Reporter onReport, CallSourcesView& view)
    : onReport_(std::move(onReport)), view_(view) {}

CallSources::CallSources(platform::CallSource::CallHandler onCall, CallSourcesView& view)
    : CallSources(
          [onCall = std::move(onCall)](CallSourceKind, const platform::CallReport& report) {
              if (onCall && report.stage == platform::CallStage::Ringing) {
                  onCall(report.caller, report.called);
              }
          },
          view) {}

void CallSources::add(std::unique_ptr<platform::CallSource> source, CallSourceKind kind) {
    if (source == nullptr) {
        return;
    }
    sources_.push_back({kind, std::move(source)});
    // A source that breaks its word and never reports still gets a line.
    statuses_.push_back({false, std::string(kNotYetReceiving)});
}

void CallSources::start() {
    starting_ = true;
    for (std::size_t index = 0; index < sources_.size(); ++index) {
        const CallSourceKind kind = sources_[index].kind;
        platform::CallSource& source = *sources_[index].source;
        source.reportTo([this, kind](const platform::CallReport& report) {
            if (onReport_) {
                onReport_(kind, report);
            }
        });
        source.start(
            [this, kind](std::string_view caller, std::string_view called) {
                const std::string id = "ring-" + std::to_string(++rings_);
                if (onReport_) {
                    onReport_(kind, {platform::CallStage::Ringing, id, caller, called});
                }
            },
            [this, index](const platform::CallSourceStatus& status) { update(index, status); });
    }
    starting_ = false;
    show();
}

void CallSources::replace(std::vector<KindedSource> sources) {
    sources_.clear();
    statuses_.clear();
    for (KindedSource& source : sources) {
        add(std::move(source.source), source.kind);
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
