#include <winsock2.h>

#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/win32/call_monitor_source.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {
namespace {

using platform::CallSourceStatus;
using Call = std::pair<std::string, std::string>;
using namespace std::chrono_literals;

// Runs this thread's messages, where the source delivers, until `done` holds.
bool PumpUntil(const std::function<bool()>& done, DWORD patience = 10'000) {
    const ULONGLONG deadline = GetTickCount64() + patience;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        if (done()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

class CallMonitorSourceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WSADATA data{};
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        ASSERT_EQ(bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(listen(listener_, 4), 0);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }

    void TearDown() override {
        source_.reset();
        for (const SOCKET connection : connections_) {
            closesocket(connection);
        }
        closeListener();
        WSACleanup();
    }

    void closeListener() {
        if (listener_ != INVALID_SOCKET) {
            closesocket(listener_);
            listener_ = INVALID_SOCKET;
        }
    }

    std::string address() const { return "Anrufmonitor " + host_ + ":" + std::to_string(port_); }

    void start(std::string host = "127.0.0.1", CallMonitorSource::HostLookup lookup = {}) {
        host_ = std::move(host);
        source_ = std::make_unique<CallMonitorSource>(
            host_, port_, CallMonitorTiming{10ms, 40ms, 5s}, std::move(lookup));
        source_->start([this](std::string_view caller,
                              std::string_view called) { calls_.emplace_back(caller, called); },
                       [this](const CallSourceStatus& status) { statuses_.push_back(status); });
    }

    bool pending(long microseconds) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        timeval timeout{0, microseconds};
        return select(0, &readable, nullptr, nullptr, &timeout) == 1;
    }

    // The router's side of the next connection, once the source reports it connected.
    SOCKET accept() {
        if (!PumpUntil([this] { return pending(0); })) {
            return INVALID_SOCKET;
        }
        const SOCKET connection = ::accept(listener_, nullptr, nullptr);
        connections_.push_back(connection);
        const BOOL noDelay = TRUE;
        setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                   sizeof noDelay);
        const CallSourceStatus connected{true, address() + ": verbunden"};
        return PumpUntil([&] { return statuses_.back() == connected; }) ? connection
                                                                        : INVALID_SOCKET;
    }

    static void send(SOCKET connection, const std::string& bytes) {
        ::send(connection, bytes.data(), static_cast<int>(bytes.size()), 0);
    }

    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::string host_;
    std::vector<SOCKET> connections_;
    std::unique_ptr<CallMonitorSource> source_;
    std::vector<Call> calls_;
    std::vector<CallSourceStatus> statuses_;
};

TEST_F(CallMonitorSourceTest, LineSplitByteByByte) {
    start();
    const SOCKET router = accept();
    ASSERT_NE(router, INVALID_SOCKET);
    for (const char byte : std::string("07.12.26 14:05:01;RING;0;0301234567;4711;SIP0;\r\n")) {
        send(router, std::string(1, byte));
        Sleep(1);
    }
    EXPECT_TRUE(PumpUntil([this] { return !calls_.empty(); }));
    EXPECT_EQ(calls_, (std::vector<Call>{{"0301234567", "4711"}}));
}

TEST_F(CallMonitorSourceTest, BurstWhileTheWindowIsBusyKeepsTheNewestCalls) {
    start();
    const SOCKET router = accept();
    ASSERT_NE(router, INVALID_SOCKET);
    std::string burst;
    for (int i = 0; i < 9999; ++i) {
        burst += "07.12.26 14:05:01;RING;0;" + std::to_string(i) + ";4711;SIP0;\n";
    }
    send(router, burst + "07.12.26 14:05:02;RING;0;;4712;SIP1;\r\n");
    shutdown(router, SD_BOTH);
    // Its next attempt shows that the worker has read and queued the whole burst; meanwhile
    // this thread takes no messages.
    ASSERT_TRUE(pending(10'000'000));
    PumpUntil([] { return false; }, 300);
    ASSERT_FALSE(calls_.empty());
    EXPECT_LE(calls_.size(), CallMonitorSource::kMaxQueued);
    EXPECT_EQ(calls_.back(), (Call{"", "4712"}));
    EXPECT_EQ(calls_.front(),
              (Call{std::to_string(10000 - static_cast<int>(calls_.size())), "4711"}));
}

// With a report handler every line about a call goes there, named by the router's id; a CALL on
// a ringing id says that id now belongs to an outgoing call.
TEST_F(CallMonitorSourceTest, ReportsWhatBecameOfEachCall) {
    std::vector<std::string> reports;
    host_ = "127.0.0.1";
    source_ = std::make_unique<CallMonitorSource>(host_, port_, CallMonitorTiming{10ms, 40ms, 5s});
    source_->reportTo([&](const platform::CallReport& r) {
        static constexpr const char* kStages[] = {"klingelt", "angenommen", "beendet", "vergessen"};
        reports.push_back(std::string(kStages[static_cast<int>(r.stage)]) + " " +
                          std::string(r.callId) + " " + std::string(r.caller));
    });
    source_->start([this](std::string_view caller,
                          std::string_view called) { calls_.emplace_back(caller, called); },
                   [this](const CallSourceStatus& status) { statuses_.push_back(status); });
    const SOCKET router = accept();
    ASSERT_NE(router, INVALID_SOCKET);
    send(router,
         "d;RING;0;030;4711;SIP0;\nd;CONNECT;0;10;030;\nd;DISCONNECT;0;42;\n"
         "d;RING;1;040;4711;SIP0;\nd;CALL;1;10;4711;050;SIP0;\n");
    EXPECT_TRUE(PumpUntil([&] { return reports.size() >= 5; }));
    EXPECT_EQ(reports, (std::vector<std::string>{"klingelt 0 030", "angenommen 0 ", "beendet 0 ",
                                                 "klingelt 1 040", "vergessen 1 "}));
    EXPECT_TRUE(calls_.empty());
}

TEST_F(CallMonitorSourceTest, OverLongLineThenAGoodOne) {
    start();
    const SOCKET router = accept();
    ASSERT_NE(router, INVALID_SOCKET);
    send(router,
         std::string(5000, ';') + "RING;0;1;2;\r\nd;CONNECT;0;10;030;\nd;RING;0;030;4711;\n");
    EXPECT_TRUE(PumpUntil([this] { return !calls_.empty(); }));
    EXPECT_EQ(calls_, (std::vector<Call>{{"030", "4711"}}));
}

TEST_F(CallMonitorSourceTest, DroppedConnectionIsRetriedWithoutItsPartialLine) {
    start();
    const SOCKET first = accept();
    ASSERT_NE(first, INVALID_SOCKET);
    send(first, "d;RING;0;111");
    shutdown(first, SD_BOTH);
    const CallSourceStatus dropped{false,
                                   address() + ": Verbindung getrennt, neuer Versuch in 1 s"};
    EXPECT_TRUE(PumpUntil(
        [&] { return std::find(statuses_.begin(), statuses_.end(), dropped) != statuses_.end(); }));
    const SOCKET second = accept();
    ASSERT_NE(second, INVALID_SOCKET);
    send(second, ";4711;\nd;RING;0;222;4711;\n");
    EXPECT_TRUE(PumpUntil([this] { return !calls_.empty(); }));
    EXPECT_EQ(calls_, (std::vector<Call>{{"222", "4711"}}));
}

TEST_F(CallMonitorSourceTest, RefusedPortIsReportedAndRetried) {
    closeListener();
    start();
    EXPECT_EQ(statuses_.front(),
              (CallSourceStatus{false, address() + ": Verbindung wird aufgebaut"}));
    const CallSourceStatus refused{
        false, address() + ": nicht erreichbar (Verbindung abgelehnt), neuer Versuch in 1 s"};
    EXPECT_TRUE(PumpUntil(
        [&] { return std::count(statuses_.begin(), statuses_.end(), refused) >= 3; }, 30'000));
    EXPECT_TRUE(std::none_of(statuses_.begin(), statuses_.end(),
                             [](const CallSourceStatus& status) { return status.receiving; }));
}

TEST_F(CallMonitorSourceTest, SilentRouterKeepsTheConnection) {
    start("localhost");
    ASSERT_NE(accept(), INVALID_SOCKET);
    const std::size_t reported = statuses_.size();
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(statuses_.size(), reported);
    EXPECT_FALSE(pending(0));
    EXPECT_TRUE(calls_.empty());
    source_.reset();
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(statuses_.size(), reported);
}

// A name service that does not answer: the source goes at once and leaves the lookup behind.
TEST_F(CallMonitorSourceTest, HangingLookupDoesNotHoldTheSource) {
    struct Hang {
        UniqueHandle called{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        UniqueHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        std::atomic<bool> returned{false};
    };
    const auto hang = std::make_shared<Hang>();
    start("router.invalid", [hang](const wchar_t*, const wchar_t*, const addrinfoW*, addrinfoW**) {
        SetEvent(hang->called.get());
        WaitForSingleObject(hang->release.get(), 20'000);
        hang->returned = true;
        return WSATRY_AGAIN;
    });
    ASSERT_EQ(WaitForSingleObject(hang->called.get(), 10'000), WAIT_OBJECT_0);
    source_.reset();
    EXPECT_FALSE(hang->returned);
    SetEvent(hang->release.get());
}

TEST_F(CallMonitorSourceTest, FailedLookupIsReportedAndRetried) {
    // Shared: a lookup may still run when the source has gone.
    const auto lookups = std::make_shared<std::atomic<int>>(0);
    start("router.invalid",
          [lookups](const wchar_t*, const wchar_t*, const addrinfoW*, addrinfoW**) {
              ++*lookups;
              return WSAHOST_NOT_FOUND;
          });
    const CallSourceStatus unknown{
        false, address() + ": nicht erreichbar (Name unbekannt), neuer Versuch in 1 s"};
    EXPECT_TRUE(
        PumpUntil([&] { return std::count(statuses_.begin(), statuses_.end(), unknown) >= 2; }));
    EXPECT_GE(*lookups, 2);
}

TEST_F(CallMonitorSourceTest, DestroyedWhileConnectingStaysQuiet) {
    start("localhost");
    source_.reset();
    const std::size_t reported = statuses_.size();
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(statuses_.size(), reported);
}

}  // namespace
}  // namespace kw::win32
