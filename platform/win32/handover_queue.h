#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>

namespace kw::win32 {

// Events from a worker thread to the UI thread: a bounded queue and at most one wake-up (a posted
// window message) on its way. When full the oldest event goes, since the newest call is the one
// the window shows. A wake-up that could not be sent is owed, and sent by the next push() or
// retry(), so that one failed post never stalls delivery.
template <class Event>
class HandoverQueue {
  public:
    // True when the wake-up is on its way. Runs under the queue's lock.
    using Wake = std::function<bool()>;

    HandoverQueue(std::size_t capacity, Wake wake) : capacity_(capacity), wake_(std::move(wake)) {}

    HandoverQueue(const HandoverQueue&) = delete;
    HandoverQueue& operator=(const HandoverQueue&) = delete;

    // Worker.
    void push(Event event) {
        const std::lock_guard lock(mutex_);
        if (events_.size() >= capacity_) {
            events_.pop_front();
        }
        events_.push_back(std::move(event));
        wakeLocked();
    }

    // Worker, while it waits: sends an owed wake-up again. True when none is owed any more.
    bool retry() {
        const std::lock_guard lock(mutex_);
        if (owed_) {
            wakeLocked();
        }
        return !owed_;
    }

    // UI thread, on a wake-up: everything queued so far, oldest first. Call again() once it is
    // handed out.
    std::deque<Event> take() {
        const std::lock_guard lock(mutex_);
        awake_ = false;
        owed_ = false;
        return std::exchange(events_, {});
    }

    // UI thread, on a wake-up that is not served now: the events wait for again().
    void pass() {
        const std::lock_guard lock(mutex_);
        awake_ = false;
    }

    // UI thread: wakes once more for whatever came meanwhile.
    void again() {
        const std::lock_guard lock(mutex_);
        wakeLocked();
    }

  private:
    void wakeLocked() {
        if (!awake_ && !events_.empty()) {
            awake_ = wake_();
            owed_ = !awake_;
        }
    }

    const std::size_t capacity_;
    Wake wake_;
    std::mutex mutex_;
    std::deque<Event> events_;
    bool awake_ = false;
    bool owed_ = false;
};

}  // namespace kw::win32
