// The call sources dialog of the real program: switched to a router on 127.0.0.1, the choice is
// stored and in effect at once.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"
#include "tests/win32/gui/phone_ring.h"
#include "tests/win32/gui/poll_until.h"
#include "tests/win32/gui/process_windows.h"
#include "tests/win32/gui/tooltip_text.h"
#include "tests/win32/registry_values.h"
#include "ui/win32/control_ids.h"

namespace kw::win32::gui {
namespace {

constexpr wchar_t kSourcesKey[] =
    L"Software\\VB and VBA Program Settings\\Klingelwart\\Anrufquellen";
constexpr wchar_t kPhoneReady[] =
    L"Das Telefon-Steuerelement PhonerActiveX.axPhoner ist bereit und meldet eingehende Anrufe.";

// A router's call monitor on 127.0.0.1: takes one connection and sends one RING line once
// asked to; gives up after a few seconds without a connection.
class FakeRouter {
  public:
    FakeRouter() {
        WSADATA data{};
        started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof(address);
        if (listener_ == INVALID_SOCKET ||
            bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener_, 1) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~FakeRouter() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        if (listener_ != INVALID_SOCKET) {
            closesocket(listener_);
        }
        if (started_) {
            WSACleanup();
        }
    }
    FakeRouter(const FakeRouter&) = delete;
    FakeRouter& operator=(const FakeRouter&) = delete;

    unsigned port() const { return port_; }
    void ring() { ring_ = true; }

  private:
    void serve() {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener_, &readable);
        timeval wait{20, 0};
        if (select(0, &readable, nullptr, nullptr, &wait) != 1) {
            return;
        }
        const SOCKET peer = accept(listener_, nullptr, nullptr);
        if (peer == INVALID_SOCKET) {
            return;
        }
        while (!stop_ && !ring_) {
            Sleep(20);
        }
        const char line[] = "07.12.26 14:05:01;RING;0;0301234567;4711;SIP0;\r\n";
        if (ring_) {
            send(peer, line, static_cast<int>(sizeof(line) - 1), 0);
        }
        while (!stop_) {
            Sleep(20);
        }
        closesocket(peer);
    }

    bool started_ = false;
    SOCKET listener_ = INVALID_SOCKET;
    unsigned port_ = 0;
    std::atomic<bool> ring_ = false;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};

TEST(AnrufquellenDialog, RouterChosenIsStoredAndListenedToAtOnce) {
    const OptionsRegistry registry;
    ASSERT_TRUE(registry.set(L"Start", L"2"));
    FakeRouter router;
    ASSERT_NE(router.port(), 0U);
    const KlingelwartSession session;
    ASSERT_TRUE(session.ready());
    const HWND phone = session.control("axPhoner1");
    ASSERT_NE(phone, nullptr);
    // On by default: the phone control and klingelwart-ring, one line each. OK unchanged makes
    // the pipe anew, which must not find its own predecessor in the way.
    const auto ringWaits = [&] {
        return TooltipTextOf(session.processId(), phone)
            .value_or(L"")
            .starts_with(std::wstring(kPhoneReady) +
                         L"\r\nWartet auf Anrufe über klingelwart-ring");
    };
    EXPECT_TRUE(PollUntil(ringWaits));
    session.menu("mnuAnrufquellen");
    const HWND unchanged = session.awaitDialog(L"Anrufquellen");
    ASSERT_NE(unchanged, nullptr);
    PostMessageW(FindDescendant(unchanged, winui::ControlId("OKButton")), BM_CLICK, 0, 0);
    ASSERT_TRUE(PollUntil([&] { return !IsWindow(unchanged); }));
    EXPECT_TRUE(ringWaits());

    session.menu("mnuAnrufquellen");
    const HWND dialog = session.awaitDialog(L"Anrufquellen");
    ASSERT_NE(dialog, nullptr);
    const auto item = [&](std::string_view name) {
        return FindDescendant(dialog, winui::ControlId(name));
    };
    EXPECT_FALSE(IsWindowEnabled(item("TXT_RouterHost")));
    PostMessageW(item("CHK_KlingelwartRing"), BM_CLICK, 0, 0);
    PostMessageW(item("CHK_Router"), BM_CLICK, 0, 0);
    ASSERT_TRUE(PollUntil([&] { return IsWindowEnabled(item("TXT_RouterHost")) != FALSE; }));
    const std::wstring port = std::to_wstring(router.port());
    SendMessageW(item("TXT_RouterHost"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"127.0.0.1"));
    SendMessageW(item("TXT_RouterPort"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(port.c_str()));
    PostMessageW(item("OKButton"), BM_CLICK, 0, 0);
    ASSERT_TRUE(PollUntil([&] { return !IsWindow(dialog); }));

    const std::map<std::wstring, std::wstring> expected{{L"Steuerelement", L"1"},
                                                        {L"KlingelwartRing", L"0"},
                                                        {L"Router", L"1"},
                                                        {L"RouterHost", L"127.0.0.1"},
                                                        {L"RouterPort", port}};
    const auto stored = test::RegistryValues(HKEY_CURRENT_USER, kSourcesKey);
    ASSERT_TRUE(stored.has_value());
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(stored->count(key) != 0 ? stored->at(key) : L"<none>", value) << key.c_str();
    }
    const std::wstring connected =
        std::wstring(kPhoneReady) + L"\r\nAnrufmonitor 127.0.0.1:" + port + L": verbunden";
    EXPECT_TRUE(PollUntil([&] { return TooltipTextOf(session.processId(), phone) == connected; }))
        << TooltipTextOf(session.processId(), phone).value_or(L"<none>").size();

    router.ring();
    EXPECT_TRUE(session.awaitCallerLine(L"Anruf von 0301234567 auf Leitung: 4711"));

    // Everything off: the phone control stays in its box, but its calls reach nobody.
    session.menu("mnuAnrufquellen");
    const HWND again = session.awaitDialog(L"Anrufquellen");
    ASSERT_NE(again, nullptr);
    PostMessageW(FindDescendant(again, winui::ControlId("CHK_Steuerelement")), BM_CLICK, 0, 0);
    PostMessageW(FindDescendant(again, winui::ControlId("CHK_Router")), BM_CLICK, 0, 0);
    PostMessageW(FindDescendant(again, winui::ControlId("OKButton")), BM_CLICK, 0, 0);
    ASSERT_TRUE(PollUntil([&] { return !IsWindow(again); }));
    EXPECT_EQ(TooltipTextOf(session.processId(), phone), L"Keine Anrufquelle eingeschaltet");
    EXPECT_NE(FindPhone(session.mainWindow()), nullptr);
    EXPECT_FALSE(session.ring(L"0309", L"1"));
    EXPECT_EQ(session.callerLine(), L"Anruf von 0301234567 auf Leitung: 4711");
}

}  // namespace
}  // namespace kw::win32::gui
