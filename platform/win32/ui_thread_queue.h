#pragma once

#include <deque>
#include <functional>
#include <mutex>

#include "platform/win32/windows_api.h"

namespace kw::win32 {

// Hands functions from any thread to the thread that made the queue, through a message-only
// window: they run from that thread's message loop, in the order they were posted. Functions
// still queued when the queue goes are dropped.
class UiThreadQueue {
  public:
    UiThreadQueue();
    ~UiThreadQueue();
    UiThreadQueue(const UiThreadQueue&) = delete;
    UiThreadQueue& operator=(const UiThreadQueue&) = delete;

    // From any thread.
    void post(std::function<void()> task);
    // From the queue's thread: runs `task` every `milliseconds` from its message loop, in place
    // of what was given before.
    void every(UINT milliseconds, std::function<void()> task);

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void deliver();

    HWND window_ = nullptr;
    std::function<void()> repeated_;
    std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;  // guarded by mutex_
};

}  // namespace kw::win32
