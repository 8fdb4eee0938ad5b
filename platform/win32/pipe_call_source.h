#pragma once

#include <chrono>
#include <cstddef>
#include <memory>

#include "platform/call_source.h"

namespace kw::win32 {

// The calls klingelwart-ring.exe reports over the user's pipe (RingPipeName), one message of
// core/ring_message.h per connection.
//
// The pipe is for this user only: its DACL holds one ACE, for the user's SID, which also owns it;
// remote clients are rejected; the first instance is created as such, so a pipe of the same name
// made earlier by anyone (a squatter) makes start() report why nothing is received instead of
// sharing the name.
//
// A worker thread serves kInstances overlapped instances and queues good messages (at most
// kMaxQueued; more are dropped); a message-only window created by start() hands them to onCall on
// the UI thread, kMaxBatch per window message, so a flood never holds the window. A client that
// connects and sends nothing occupies one instance for kSilenceTimeout at most. Malformed and
// oversized messages are dropped.
class PipeCallSource final : public platform::CallSource {
  public:
    static constexpr std::size_t kInstances = 8;
    static constexpr std::size_t kMaxQueued = 256;
    static constexpr std::size_t kMaxBatch = 16;
    static constexpr std::chrono::milliseconds kSilenceTimeout{5000};

    PipeCallSource();
    // Stops the worker (waiting for its cancelled I/O) and the window on the calling thread, which
    // must be the UI thread; nothing queued is handed over afterwards.
    ~PipeCallSource() override;

    PipeCallSource(const PipeCallSource&) = delete;
    PipeCallSource& operator=(const PipeCallSource&) = delete;

    void start(CallHandler onCall, StatusHandler onStatus) override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace kw::win32
