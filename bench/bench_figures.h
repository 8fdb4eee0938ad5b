#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <vector>

// What every benchmark here measures with and prints its figures by.
namespace kw::bench {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// The nearest-rank value at `fraction` (0.5 the median); `values` must not be empty.
inline double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto index =
        static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

// User and system CPU time of this process so far.
inline double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// One row of median, p95 and maximum in milliseconds, under the columns the benchmarks print.
inline void PrintSpread(const char* label, const std::vector<double>& values, int decimals) {
    std::printf("%-26s %10.*f %10.*f %10.*f\n", label, decimals, Percentile(values, 0.5), decimals,
                Percentile(values, 0.95), decimals,
                *std::max_element(values.begin(), values.end()));
}

}  // namespace kw::bench
