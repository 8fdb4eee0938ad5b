#include "platform/posix/phone_listener.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/ring_message.h"
#include "platform/posix/runtime_directory.h"
#include "posix_test_support.h"

namespace kw::posix {
namespace {

using namespace std::string_literals;
using testing::ProgramOutcome;
using testing::Readable;
using testing::RunProgram;
using testing::TempDir;

const std::string kRingTool = KW_RING_TOOL;

// A client as klingelwart-ring is one, but in this process: connects (blocking) and can send
// anything.
UniqueFd Connect(const std::string& path) {
    UniqueFd fd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    const timeval timeout{10, 0};
    ::setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return UniqueFd();
    }
    return fd;
}

bool SendRaw(int fd, const std::string& bytes) {
    return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
}

bool SendOne(const std::string& path, const std::string& bytes) {
    UniqueFd fd = Connect(path);
    return fd && SendRaw(fd.get(), bytes);
}

class PhoneListenerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(runtime_.path().empty());
        Result<std::string> directory = PrivateRuntimeDirectoryIn(runtime_.path(), "/nonexistent");
        ASSERT_TRUE(directory.ok()) << directory.failure().description;
        directory_ = directory.value();
        Result<std::unique_ptr<PhoneListener>> opened = PhoneListener::open(directory_);
        ASSERT_TRUE(opened.ok()) << opened.failure().description;
        listener_ = std::move(opened.value());
    }

    // Runs klingelwart-ring as the softphone would, with XDG_RUNTIME_DIR leading to this test's
    // directory.
    ProgramOutcome ring(const std::vector<std::string>& arguments) const {
        return RunProgram(kRingTool, arguments, {"XDG_RUNTIME_DIR=" + runtime_.path()});
    }

    // One processReady() call; records the calls and how long it took.
    void processOnce() {
        const auto start = std::chrono::steady_clock::now();
        listener_->processReady([this](std::string_view caller, std::string_view called) {
            calls_.push_back(RingCall{std::string(caller), std::string(called)});
        });
        longest_ = std::max(longest_, std::chrono::steady_clock::now() - start);
    }

    // Processes while fd() is readable, until `count` calls are there or `timeout` passed.
    void processUntil(std::size_t count,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (calls_.size() < count && std::chrono::steady_clock::now() < deadline) {
            if (Readable(listener_->fd(), 20)) {
                processOnce();
            }
        }
    }

    // Processes whatever is there now, and what arrives within `quiet` milliseconds.
    void drain(int quiet = 100) {
        while (Readable(listener_->fd(), quiet)) {
            processOnce();
        }
    }

    TempDir runtime_;
    std::string directory_;
    std::unique_ptr<PhoneListener> listener_;
    std::vector<RingCall> calls_;
    std::chrono::steady_clock::duration longest_{};
};

TEST_F(PhoneListenerTest, SocketIsInThePrivateDirectory) {
    EXPECT_EQ(listener_->socketPath(), runtime_.path() + "/klingelwart/phone.sock");
    struct stat directory {};
    ASSERT_EQ(::stat(directory_.c_str(), &directory), 0);
    EXPECT_EQ(directory.st_mode & 07777, 0700u);
    EXPECT_EQ(directory.st_uid, ::geteuid());
    struct stat socket {};
    ASSERT_EQ(::lstat(listener_->socketPath().c_str(), &socket), 0);
    EXPECT_TRUE(S_ISSOCK(socket.st_mode));
    EXPECT_FALSE(Readable(listener_->fd(), 0));
}

struct RingCase {
    const char* name;
    std::string caller;
    std::string called;
};

// Named by the case only: the texts are long or not printable.
void PrintTo(const RingCase& c, std::ostream* out) {
    *out << c.name;
}

class RingToolDelivers : public PhoneListenerTest,
                         public ::testing::WithParamInterface<RingCase> {};

TEST_P(RingToolDelivers, ArgumentsArriveExactly) {
    const ProgramOutcome outcome = ring({GetParam().caller, GetParam().called});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.standardError;
    EXPECT_EQ(outcome.standardError, "");
    processUntil(1);
    drain();
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].caller, GetParam().caller);
    EXPECT_EQ(calls_[0].called, GetParam().called);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, RingToolDelivers,
    ::testing::Values(RingCase{"plain", "0301234567", "4711"},
                      RingCase{"blanksAtEnds", "  +49 (30) 123  ", " 4711 "},
                      RingCase{"tabsAndLineBreaks", "\t030\r\n123\n", "\t\n"},
                      RingCase{"quotesAndShell", "\"a\" 'b' $(rm -rf x) `c` ; | & *", "\\"},
                      RingCase{"unicode", "Müller ☎ 030", "Büro 🐝"},
                      RingCase{"looksLikeOptions", "--help", "-"}, RingCase{"empty", "", ""},
                      RingCase{"sixtyKilobytes", std::string(60 * 1000, '9'), "4711"}),
    [](const ::testing::TestParamInfo<RingCase>& param) { return param.param.name; });

TEST_F(PhoneListenerTest, WrongArgumentCountShowsGermanUsage) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"030"}, {"030", "4711", "extra"}}) {
        const ProgramOutcome outcome = ring(arguments);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_NE(outcome.standardError.find("Aufruf: klingelwart-ring ANRUFER"), std::string::npos)
            << outcome.standardError;
    }
    drain(50);
    EXPECT_TRUE(calls_.empty());
}

TEST_F(PhoneListenerTest, TooLargeNumbersAreRefusedByTheTool) {
    const ProgramOutcome outcome = ring({std::string(70 * 1000, '1'), "4711"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.standardError.find("zu lang"), std::string::npos) << outcome.standardError;
    drain(50);
    EXPECT_TRUE(calls_.empty());
}

TEST_F(PhoneListenerTest, BadMessagesAreDroppedAndTheNextGoodOneArrives) {
    const std::string path = listener_->socketPath();
    const std::string good = EncodeRing("030 123", "4711");
    ASSERT_TRUE(SendOne(path, "garbage"));
    ASSERT_TRUE(SendOne(path, std::string(kMaxRingMessage + 5000, 'x')));  // oversized
    std::string oversizedButWellFormed = EncodeRing(std::string(kMaxRingMessage, '1'), "2");
    ASSERT_TRUE(SendOne(path, oversizedButWellFormed));
    ASSERT_TRUE(SendOne(path, good.substr(0, good.size() - 1)));  // truncated
    ASSERT_TRUE(SendOne(path, good + "x"));                       // trailing byte
    ASSERT_TRUE(SendOne(path, "KLINGEL2" + good.substr(8)));      // wrong magic
    ASSERT_TRUE(SendOne(path, ""));                               // empty message
    ASSERT_TRUE(Connect(path));                                   // hangs up at once
    ASSERT_TRUE(SendOne(path, good));
    processUntil(1);
    drain();
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0], (RingCall{"030 123", "4711"}));
    EXPECT_EQ(listener_->pendingCount(), 0u);
}

TEST_F(PhoneListenerTest, OnlyTheFirstMessageOfAConnectionCounts) {
    UniqueFd client = Connect(listener_->socketPath());
    ASSERT_TRUE(client);
    ASSERT_TRUE(SendRaw(client.get(), EncodeRing("1", "a")));
    ASSERT_TRUE(SendRaw(client.get(), EncodeRing("2", "b")));
    processUntil(1);
    drain();
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].caller, "1");
}

TEST_F(PhoneListenerTest, SilentPeerBlocksNothingAndIsHeardWhenItSpeaks) {
    UniqueFd silent = Connect(listener_->socketPath());
    ASSERT_TRUE(silent);
    ASSERT_TRUE(Readable(listener_->fd(), 1000));
    processOnce();  // accepts the silent peer; its message is not there
    EXPECT_EQ(listener_->pendingCount(), 1u);
    EXPECT_FALSE(Readable(listener_->fd(), 0));  // nothing left to do: no busy loop

    const ProgramOutcome outcome = ring({"030", "4711"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.standardError;
    processUntil(1);
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0], (RingCall{"030", "4711"}));

    // The late message of a connection accepted earlier is read when it comes.
    ASSERT_TRUE(SendRaw(silent.get(), EncodeRing("late", "line")));
    processUntil(2);
    ASSERT_EQ(calls_.size(), 2u);
    EXPECT_EQ(calls_[1], (RingCall{"late", "line"}));
    EXPECT_EQ(listener_->pendingCount(), 0u);
    EXPECT_LT(longest_, std::chrono::milliseconds(500));
}

TEST_F(PhoneListenerTest, SilentPeerThatHangsUpIsForgotten) {
    UniqueFd silent = Connect(listener_->socketPath());
    ASSERT_TRUE(Readable(listener_->fd(), 1000));
    processOnce();
    EXPECT_EQ(listener_->pendingCount(), 1u);
    silent.reset();
    ASSERT_TRUE(Readable(listener_->fd(), 1000));
    processOnce();
    EXPECT_EQ(listener_->pendingCount(), 0u);
    EXPECT_FALSE(Readable(listener_->fd(), 0));
    EXPECT_TRUE(calls_.empty());
}

TEST_F(PhoneListenerTest, SilentPeerIsDroppedAfterTheTimeout) {
    listener_->setPendingTimeout(std::chrono::milliseconds(50));
    UniqueFd silent = Connect(listener_->socketPath());
    ASSERT_TRUE(Readable(listener_->fd(), 1000));
    processOnce();
    EXPECT_EQ(listener_->pendingCount(), 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(ring({"030", "4711"}).exitCode, 0);
    processUntil(1);
    EXPECT_EQ(listener_->pendingCount(), 0u);
    SendRaw(silent.get(), EncodeRing("too", "late"));  // the connection is gone
    drain();
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].caller, "030");
}

TEST_F(PhoneListenerTest, ArrivedMessageIsNotDroppedForAge) {
    // As when the handler of an earlier call kept the UI busy (a message box) for long.
    listener_->setPendingTimeout(std::chrono::milliseconds(50));
    UniqueFd slow = Connect(listener_->socketPath());
    ASSERT_TRUE(Readable(listener_->fd(), 1000));
    processOnce();
    EXPECT_EQ(listener_->pendingCount(), 1u);
    ASSERT_TRUE(SendRaw(slow.get(), EncodeRing("slow", "line")));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    processUntil(1);
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0], (RingCall{"slow", "line"}));
}

TEST_F(PhoneListenerTest, WaitingConnectionsAreBounded) {
    std::vector<UniqueFd> silent;
    for (std::size_t index = 0; index < PhoneListener::kMaxPending + 20; ++index) {
        silent.push_back(Connect(listener_->socketPath()));
        ASSERT_TRUE(silent.back());
    }
    drain(50);
    EXPECT_EQ(listener_->pendingCount(), PhoneListener::kMaxPending);
    // The newest are kept: the last one can still speak.
    ASSERT_TRUE(SendRaw(silent.back().get(), EncodeRing("newest", "x")));
    processUntil(1);
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].caller, "newest");
}

TEST_F(PhoneListenerTest, OneCallHandlesABoundedBatch) {
    const std::size_t total = PhoneListener::kMaxBatch + 44;
    for (std::size_t index = 0; index < total; ++index) {
        ASSERT_TRUE(SendOne(listener_->socketPath(), EncodeRing(std::to_string(index), "x")));
    }
    ASSERT_TRUE(Readable(listener_->fd(), 1000));
    processOnce();
    EXPECT_EQ(calls_.size(), PhoneListener::kMaxBatch);
    EXPECT_TRUE(Readable(listener_->fd(), 0));  // the rest keeps the descriptor readable
    processOnce();
    EXPECT_EQ(calls_.size(), total);
    for (std::size_t index = 0; index < total; ++index) {
        EXPECT_EQ(calls_[index].caller, std::to_string(index));
    }
    EXPECT_FALSE(Readable(listener_->fd(), 0));
}

TEST_F(PhoneListenerTest, FloodEndsWithEveryCallDeliveredAndNoLongStall) {
    constexpr int kThreads = 4;
    constexpr int kPerThread = 500;
    std::atomic<int> failures{0};
    std::vector<std::thread> senders;
    const std::string path = listener_->socketPath();
    for (int thread = 0; thread < kThreads; ++thread) {
        senders.emplace_back([&, thread] {
            for (int index = 0; index < kPerThread; ++index) {
                if (!SendOne(path, EncodeRing(std::to_string(thread) + ":" + std::to_string(index),
                                              "flood"))) {
                    ++failures;
                }
            }
        });
    }
    processUntil(kThreads * kPerThread, std::chrono::seconds(60));
    for (std::thread& sender : senders) {
        sender.join();
    }
    drain();
    EXPECT_EQ(failures.load(), 0);
    ASSERT_EQ(calls_.size(), static_cast<std::size_t>(kThreads * kPerThread));
    std::set<std::string> seen;
    for (const RingCall& call : calls_) {
        seen.insert(call.caller);
    }
    EXPECT_EQ(seen.size(), calls_.size());
    for (int thread = 0; thread < kThreads; ++thread) {
        EXPECT_TRUE(seen.count(std::to_string(thread) + ":" + std::to_string(kPerThread - 1)));
    }
    EXPECT_LT(longest_, std::chrono::milliseconds(500));
    EXPECT_EQ(listener_->pendingCount(), 0u);
}

TEST_F(PhoneListenerTest, FloodOfRingToolsEndsWithTheLastDelivered) {
    constexpr int kRings = 100;
    std::atomic<int> failures{0};
    std::thread softphone([&] {
        for (int index = 0; index < kRings; ++index) {
            if (ring({"caller " + std::to_string(index), "4711"}).exitCode != 0) {
                ++failures;
            }
        }
    });
    processUntil(kRings, std::chrono::seconds(60));
    softphone.join();
    drain();
    EXPECT_EQ(failures.load(), 0);
    ASSERT_EQ(calls_.size(), static_cast<std::size_t>(kRings));
    EXPECT_EQ(calls_.back().caller, "caller " + std::to_string(kRings - 1));
}

TEST_F(PhoneListenerTest, DestructorRemovesTheSocketFile) {
    const std::string path = listener_->socketPath();
    listener_.reset();
    EXPECT_NE(::access(path.c_str(), F_OK), 0);
    const ProgramOutcome outcome = ring({"030", "4711"});
    EXPECT_EQ(outcome.exitCode, 1);
}

TEST_F(PhoneListenerTest, DestructorLeavesAReplacedFileAlone) {
    const std::string path = listener_->socketPath();
    ASSERT_EQ(::unlink(path.c_str()), 0);
    { UniqueFd file(::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600)); }
    listener_.reset();
    EXPECT_EQ(::access(path.c_str(), F_OK), 0);
}

TEST_F(PhoneListenerTest, ForeignUserIsNotHeard) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to run a peer as another user";
    }
    // Let the other user reach the socket at all; the credential check is what is tested.
    ASSERT_EQ(::chmod(runtime_.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(directory_.c_str(), 0755), 0);
    ASSERT_EQ(::chmod(listener_->socketPath().c_str(), 0777), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t nogroup = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(nogroup) != 0 || ::setuid(65534) != 0) {
            ::_exit(3);
        }
        UniqueFd fd = Connect(listener_->socketPath());
        if (!fd) {
            ::_exit(4);
        }
        ::_exit(SendRaw(fd.get(), EncodeRing("intruder", "x")) ? 0 : 5);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the foreign peer could not send";
    drain();
    EXPECT_TRUE(calls_.empty());
    ASSERT_TRUE(SendOne(listener_->socketPath(), EncodeRing("friend", "x")));
    processUntil(1);
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].caller, "friend");
}

// --- without a listener set up by the fixture ------------------------------------------------

TEST(PhoneListenerOpen, StaleSocketFileIsReplaced) {
    TempDir runtime;
    const std::string path = PhoneSocketPath(runtime.path());
    {
        // A socket bound by a crashed instance: the file stays, nobody listens.
        UniqueFd stale(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        ASSERT_EQ(::bind(stale.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address),
                  0);
    }
    ASSERT_EQ(::access(path.c_str(), F_OK), 0);
    Result<std::unique_ptr<PhoneListener>> listener = PhoneListener::open(runtime.path());
    ASSERT_TRUE(listener.ok()) << listener.failure().description;
    ASSERT_TRUE(SendOne(path, EncodeRing("after", "crash")));
    std::vector<RingCall> calls;
    ASSERT_TRUE(Readable(listener.value()->fd(), 2000));
    listener.value()->processReady([&](std::string_view caller, std::string_view called) {
        calls.push_back(RingCall{std::string(caller), std::string(called)});
    });
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], (RingCall{"after", "crash"}));
}

TEST(PhoneListenerOpen, RingWithNobodyListeningSaysSoInGerman) {
    TempDir runtime;
    const ProgramOutcome outcome =
        RunProgram(kRingTool, {"030", "4711"}, {"XDG_RUNTIME_DIR=" + runtime.path()});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.standardError.find("Klingelwart läuft nicht"), std::string::npos)
        << outcome.standardError;
    EXPECT_NE(outcome.standardError.find(runtime.path() + "/klingelwart/phone.sock"),
              std::string::npos)
        << outcome.standardError;
}

TEST(PhoneListenerOpen, RingToAStaleSocketSaysKlingelwartIsNotRunning) {
    TempDir runtime;
    Result<std::string> directory = PrivateRuntimeDirectoryIn(runtime.path(), "/nonexistent");
    ASSERT_TRUE(directory.ok());
    const std::string path = PhoneSocketPath(directory.value());
    UniqueFd stale(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    ASSERT_EQ(::bind(stale.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    stale.reset();
    const ProgramOutcome outcome =
        RunProgram(kRingTool, {"030", "4711"}, {"XDG_RUNTIME_DIR=" + runtime.path()});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.standardError.find("Klingelwart läuft nicht"), std::string::npos)
        << outcome.standardError;
}

TEST(PhoneListenerOpen, MissingDirectoryFails) {
    TempDir runtime;
    Result<std::unique_ptr<PhoneListener>> listener = PhoneListener::open(runtime / "missing");
    ASSERT_FALSE(listener.ok());
    EXPECT_EQ(listener.failure().number, 76);
    EXPECT_NE(listener.failure().description.find("kann nicht eingerichtet werden"),
              std::string::npos);
}

TEST(PhoneListenerOpen, TooLongPathFailsCleanly) {
    const std::string directory = "/tmp/" + std::string(100, 'd');
    Result<std::unique_ptr<PhoneListener>> listener = PhoneListener::open(directory);
    ASSERT_FALSE(listener.ok());
    EXPECT_EQ(listener.failure().number, 76);
    EXPECT_NE(listener.failure().description.find("zu lang"), std::string::npos);
}

}  // namespace
}  // namespace kw::posix
