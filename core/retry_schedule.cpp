#include "core/retry_schedule.h"

#include <algorithm>

namespace kw {

RetrySchedule::RetrySchedule(std::chrono::milliseconds first, std::chrono::milliseconds longest)
    : first_(std::max(first, std::chrono::milliseconds(1))),
      longest_(std::max(longest, first_)),
      coming_(first_) {}

std::chrono::milliseconds RetrySchedule::next() {
    const std::chrono::milliseconds wait = coming_;
    coming_ = std::min(coming_ * 2, longest_);
    return wait;
}

void RetrySchedule::reset() {
    coming_ = first_;
}

}  // namespace kw
