#pragma once

#include <chrono>
#include <thread>

namespace kw::win32::gui {

// Wine takes anything from milliseconds to seconds to start a program or show a window, so the
// tests wait for what they expect to see, never for a fixed time.
inline constexpr std::chrono::milliseconds kPatience{10'000};

template <typename Condition>
bool PollUntil(Condition condition, std::chrono::milliseconds patience = kPatience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The first result of `find` that converts to true, or the last (empty) one.
template <typename Find>
auto PollFor(Find find, std::chrono::milliseconds patience = kPatience) -> decltype(find()) {
    decltype(find()) found{};
    PollUntil(
        [&] {
            found = find();
            return static_cast<bool>(found);
        },
        patience);
    return found;
}

}  // namespace kw::win32::gui
