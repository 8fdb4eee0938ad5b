#include "platform/win32/handover_queue.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace kw::win32 {
namespace {

// Each step: p pushes the next number, r retries, t takes, s passes a wake-up, a wakes again.
TEST(HandoverQueue, WakesOnceAndNeverStalls) {
    const struct {
        const char* name;
        std::size_t capacity;
        std::vector<bool> posts;  // the wake-ups' results in turn; true after these
        std::string steps;
        int wakes;
        std::deque<int> taken;  // by the last t
    } cases[] = {
        {"one wake-up for several events", 8, {}, "pppt", 1, {0, 1, 2}},
        {"a failed post is made up by the next event", 8, {false}, "ppt", 2, {0, 1}},
        {"a failed post is made up while the worker waits", 8, {false}, "prt", 2, {0}},
        {"no second post while one is on its way", 8, {}, "prrpt", 1, {0, 1}},
        {"still owed when the retry fails too", 8, {false, false, false}, "prrrt", 4, {0}},
        {"a passed wake-up comes again for the waiting events", 8, {}, "psat", 2, {0}},
        {"nothing left, no wake-up", 8, {}, "pta", 1, {0}},
        {"full: the oldest go", 3, {}, "pppppt", 1, {2, 3, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int wakes = 0;
        HandoverQueue<int> queue(c.capacity, [&] {
            const std::size_t turn = static_cast<std::size_t>(wakes++);
            return turn >= c.posts.size() || c.posts[turn];
        });
        int next = 0;
        std::deque<int> taken;
        for (const char step : c.steps) {
            switch (step) {
                case 'p':
                    queue.push(next++);
                    break;
                case 'r':
                    queue.retry();
                    break;
                case 't':
                    taken = queue.take();
                    break;
                case 's':
                    queue.pass();
                    break;
                default:
                    queue.again();
            }
        }
        EXPECT_EQ(wakes, c.wakes);
        EXPECT_EQ(taken, c.taken);
    }
}

}  // namespace
}  // namespace kw::win32
