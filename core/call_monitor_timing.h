#pragma once

#include <chrono>

namespace kw {

// How patiently a call monitor source tries to reach the router; tests shorten it.
struct CallMonitorTiming {
    std::chrono::milliseconds firstRetry = std::chrono::seconds(1);
    std::chrono::milliseconds longestRetry = std::chrono::seconds(60);
    // Without it an address that swallows packets holds each attempt for minutes.
    std::chrono::milliseconds connectTimeout = std::chrono::seconds(15);
};

}  // namespace kw
