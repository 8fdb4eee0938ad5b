#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "core/call_tracker.h"
#include "tests/fuzz/fuzz_require.h"

using namespace kw;

// Each 3 bytes are one report: what and from whom, the call id, and how far time moves on.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::map<std::uint64_t, int> outcomes;  // per rung call: how many outcomes came
    std::uint64_t lastKey = 0;
    // The full limit of open calls only now and then: filling it takes a while.
    CallTrackerLimits limits;
    if (size == 0 || data[0] != 0xFF) {
        limits.maxOpenCalls = 64;
    }
    CallTracker tracker(
        [&](const CallRing& ring) {
            KW_FUZZ_REQUIRE(ring.key > lastKey);
            lastKey = ring.key;
            outcomes[ring.key] = 0;
        },
        [&](std::uint64_t key, CallOutcome) {
            const auto it = outcomes.find(key);
            KW_FUZZ_REQUIRE(it != outcomes.end() && it->second == 0);
            ++it->second;
        },
        limits);
    CallTime now{std::chrono::hours(490000)};
    bool flooded = false;
    static constexpr const char* kNumbers[] = {"030 1234", "+49301234", "", "0171 99"};
    for (std::size_t i = 0; i + 3 <= size; i += 3) {
        const auto source = static_cast<CallSourceKind>(data[i] >> 4 & 3);
        const std::string id(1, static_cast<char>('0' + data[i + 1] % 6));
        const char* caller = kNumbers[data[i + 1] >> 4 & 3];
        now += std::chrono::milliseconds(data[i + 2] * (data[i] >> 6 == 3 ? 600000 : 100));
        switch (data[i] & 15) {
            case 0:
            case 1:
                tracker.ringing(source, id, caller, "4711", now);
                break;
            case 2:
                tracker.answered(source, id, now);
                break;
            case 3:
                tracker.ended(source, id, now);
                break;
            case 4:
                tracker.forget(source, id, now);
                break;
            case 5:
                tracker.tick(now);
                break;
            case 6:
                if (!flooded) {
                    flooded = true;
                    for (std::size_t n = 0; n < limits.maxOpenCalls + 50; ++n) {
                        tracker.ringing(source, std::to_string(n), std::to_string(n), "1", now);
                    }
                }
                break;
            default:
                break;
        }
        KW_FUZZ_REQUIRE(tracker.openCalls() <= limits.maxOpenCalls);
    }
    tracker.tick(now + std::chrono::hours(24));
    KW_FUZZ_REQUIRE(tracker.openCalls() == 0);
    for (const auto& [key, count] : outcomes) {
        KW_FUZZ_REQUIRE(count == 1);
    }
    return 0;
}
