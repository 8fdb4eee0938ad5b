#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/call_outcome.h"
#include "platform/call_source.h"

namespace kw::ui {

// Where the phone shows how the sources are doing.
class CallSourcesView {
  public:
    virtual ~CallSourcesView() = default;
    // One status per source, in the order the sources were added.
    virtual void showCallSources(const std::vector<platform::CallSourceStatus>& statuses) = 0;
};

// The phone's status while every source is switched off.
inline constexpr std::string_view kNoCallSource = "Keine Anrufquelle eingeschaltet";

// True when calls can arrive through at least one source.
bool AnyReceiving(const std::vector<platform::CallSourceStatus>& statuses);

// The phone's tooltip: one line per source; with one source just its text.
std::string CallSourcesTooltip(const std::vector<platform::CallSourceStatus>& statuses,
                               std::string_view lineBreak = "\n");

// A source with who it is, for telling one call reported by two sources from two calls.
struct KindedSource {
    CallSourceKind kind = CallSourceKind::RingTool;
    std::unique_ptr<platform::CallSource> source;
};

// Owns the program's call sources, hands every call to one handler and keeps the view's
// combined status up to date.
class CallSources {
  public:
    // Every stage of every call, with the kind of source that reported it. A source that tells
    // rings only gets an id of its own for each.
    using Reporter = std::function<void(CallSourceKind kind, const platform::CallReport& report)>;

    CallSources(Reporter onReport, CallSourcesView& view);
    // Rings only.
    CallSources(platform::CallSource::CallHandler onCall, CallSourcesView& view);

    CallSources(const CallSources&) = delete;
    CallSources& operator=(const CallSources&) = delete;

    // Before start() only.
    void add(std::unique_ptr<platform::CallSource> source,
             CallSourceKind kind = CallSourceKind::RingTool);

    // Starts every source, then shows their statuses at once.
    void start();

    // Puts other sources into effect: the old ones go first (a socket or pipe must be free
    // before a new source binds it), then the new ones start as in start().
    void replace(std::vector<KindedSource> sources);

    // Lines of their own below the sources' lines, for what else keeps the phone from doing all
    // it should (notifications, address books); no lines, or an empty text, remove the topic.
    void setNotes(std::string_view topic, std::vector<std::string> lines);
    void setNote(std::string_view topic, const std::string& text);

  private:
    void show();
    void update(std::size_t index, const platform::CallSourceStatus& status);

    Reporter onReport_;
    CallSourcesView& view_;
    std::uint64_t rings_ = 0;
    std::vector<platform::CallSourceStatus> statuses_;
    std::vector<std::pair<std::string, std::vector<std::string>>> notes_;
    bool starting_ = false;
    // Last, so that no source outlives the statuses it reports into.
    std::vector<KindedSource> sources_;
};

}  // namespace kw::ui
