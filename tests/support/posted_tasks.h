#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace kw::test {

using namespace std::chrono_literals;

// The UI thread's queue: a worker posts, the test runs what arrived.
class PostedTasks {
  public:
    void post(std::function<void()> task) {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        arrived_.notify_all();
    }
    // Runs one posted task; false when none came within the bound.
    bool runOne(std::chrono::milliseconds bound = 5s) {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, bound, [this] { return !tasks_.empty(); })) {
            return false;
        }
        auto task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        task();
        return true;
    }

    bool waitPosted() {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, 5s, [this] { return !tasks_.empty(); });
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace kw::test
