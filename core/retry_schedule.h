#pragma once

#include <chrono>

namespace kw {

// Waits between attempts to reach a service: the first wait, doubled after each failure up to
// the longest; a connection that worked starts over.
class RetrySchedule {
  public:
    explicit RetrySchedule(std::chrono::milliseconds first = std::chrono::seconds(1),
                           std::chrono::milliseconds longest = std::chrono::seconds(60));

    // The wait before the next attempt.
    std::chrono::milliseconds next();

    void reset();

  private:
    std::chrono::milliseconds first_;
    std::chrono::milliseconds longest_;
    std::chrono::milliseconds coming_;
};

}  // namespace kw
