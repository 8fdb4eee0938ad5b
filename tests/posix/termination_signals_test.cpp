#include "platform/posix/termination_signals.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

namespace kw::posix {
namespace {

bool Blocked(int signal) {
    sigset_t mask;
    ::pthread_sigmask(SIG_SETMASK, nullptr, &mask);
    return sigismember(&mask, signal) == 1;
}

bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) == 1;
}

// Sets a signal's action for one test; the runner may have started the test with it ignored.
class SignalAction {
  public:
    SignalAction(int signal, void (*handler)(int)) : signal_(signal) {
        struct sigaction action {};
        action.sa_handler = handler;
        ::sigaction(signal_, &action, &previous_);
    }
    ~SignalAction() { ::sigaction(signal_, &previous_, nullptr); }
    SignalAction(const SignalAction&) = delete;
    SignalAction& operator=(const SignalAction&) = delete;

  private:
    int signal_;
    struct sigaction previous_ {};
};

class TerminationSignalsTest : public testing::TestWithParam<int> {};

TEST_P(TerminationSignalsTest, ArrivesAsDataAndLeavesTheMaskAsFound) {
    const int signal = GetParam();
    const SignalAction byDefault(signal, SIG_DFL);
    {
        TerminationSignals signals;
        ASSERT_GE(signals.descriptor(), 0);
        EXPECT_FALSE(signals.take());
        ASSERT_EQ(::kill(::getpid(), signal), 0);
        EXPECT_TRUE(Readable(signals.descriptor()));
        EXPECT_EQ(signals.take(), signal);
        EXPECT_FALSE(Readable(signals.descriptor()));
        // One left waiting at the end must not end the process when the mask comes back.
        ASSERT_EQ(::kill(::getpid(), signal), 0);
    }
    EXPECT_FALSE(Blocked(signal));
}

INSTANTIATE_TEST_SUITE_P(Ending, TerminationSignalsTest, testing::Values(SIGTERM, SIGINT, SIGHUP));

// `nohup` and background jobs of scripts start with these ignored; they stay ignored.
TEST(TerminationSignals, AnIgnoredSignalStaysIgnored) {
    const SignalAction ignored(SIGHUP, SIG_IGN);
    TerminationSignals signals;
    ASSERT_EQ(::kill(::getpid(), SIGHUP), 0);
    EXPECT_FALSE(signals.take());
    EXPECT_FALSE(Blocked(SIGHUP));
}

}  // namespace
}  // namespace kw::posix
