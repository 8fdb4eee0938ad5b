#include "ui/win32/phone_control_host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/com/ole_apartment.h"
#include "platform/win32/phone/phone_control_source.h"
#include "tests/win32/hidden_window.h"
#include "tests/win32/phone/substitute_phone_protocol.h"
#include "ui/win32/control_ids.h"

namespace kw::winui {
namespace {

namespace phone = test::phone;
using win32::test::HiddenWindow;

constexpr int kBoxId = ControlId("axPhoner1");
constexpr RECT kBox{10, 20, 130, 80};

struct Received {
    std::string caller;
    std::string called;
    friend bool operator==(const Received&, const Received&) = default;
};

HWND PhoneWindowIn(HWND box) {
    HWND found = nullptr;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM result) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (std::wstring_view(name) != phone::kWindowClass) {
                return TRUE;
            }
            *reinterpret_cast<HWND*>(result) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, 64);
    return name;
}

class PhoneControlHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(apartment.ok());
        ASSERT_NE(parent.get(), nullptr);
    }

    // The host handed to a started source, as the program wires them.
    std::unique_ptr<PhoneControlHost> makeHost(std::wstring_view progId = phone::kProgId) {
        source = std::make_unique<win32::PhoneControlSource>(progId);
        startSource();
        auto host = std::make_unique<PhoneControlHost>(parent.get(), kBoxId, kBox, progId);
        host->handTo(*source);
        return host;
    }

    void startSource() {
        source->start(
            [this](std::string_view caller, std::string_view called) {
                received.push_back({std::string(caller), std::string(called)});
            },
            [this](const platform::CallSourceStatus& status) { statuses.push_back(status); });
    }

    const std::string& status() const { return statuses.back().text; }

    win32::OleApartment apartment;
    HiddenWindow parent;
    std::unique_ptr<win32::PhoneControlSource> source;
    std::vector<Received> received;
    std::vector<platform::CallSourceStatus> statuses;
};

TEST_F(PhoneControlHostTest, HostsTheControlInTheBoxAndListens) {
    const auto host = makeHost();
    EXPECT_TRUE(host->hosted()) << status();
    EXPECT_TRUE(source->connected());
    EXPECT_TRUE(statuses.back().receiving);
    ASSERT_NE(host->window(), nullptr);
    EXPECT_EQ(GetParent(host->window()), parent.get());
    EXPECT_EQ(GetDlgCtrlID(host->window()), kBoxId);
    EXPECT_EQ(ClassOf(host->window()), "AtlAxWin");
    EXPECT_NE(PhoneWindowIn(host->window()), nullptr);
    EXPECT_EQ(status(),
              "Das Telefon-Steuerelement PhonerActiveX.axPhoner ist bereit und meldet eingehende "
              "Anrufe.");
}

TEST_F(PhoneControlHostTest, DeliversForgedNumbersExactly) {
    const auto host = makeHost();
    const HWND phoneWindow = PhoneWindowIn(host->window());
    ASSERT_NE(phoneWindow, nullptr);
    struct Case {
        std::wstring caller;
        std::wstring called;
        Received expected;
    };
    const Case cases[] = {
        {L"", L"0301234", {"", "0301234"}},
        {L"&Anrufer & <b>fett</b>", L"&", {"&Anrufer & <b>fett</b>", "&"}},
        {L"\"0'30\"", L"'", {"\"0'30\"", "'"}},
        {std::wstring(5000, L'9'), L"1", {std::string(5000, '9'), "1"}},
        {L"\xD83D\xDCDE 030", L"\u00E4\u00DF", {"\xF0\x9F\x93\x9E 030", "\xC3\xA4\xC3\x9F"}},
        {L"030",
         std::wstring(L"12\0"
                      L"34",
                      5),
         {"030", std::string("12\0"
                             "34",
                             5)}},
        {L"\xD800"
         L"1",
         L"2\xDC00",
         {"\xEF\xBF\xBD"
          "1",
          "2\xEF\xBF\xBD"}},
    };
    long rings = 0;
    for (const Case& c : cases) {
        received.clear();
        EXPECT_EQ(phone::Ring(phoneWindow, c.caller, c.called), 1) << c.expected.caller;
        ++rings;
        EXPECT_EQ(received, std::vector<Received>{c.expected}) << c.expected.caller;
    }
    EXPECT_EQ(SendMessageW(phoneWindow, phone::kUntouchedRingsMessage, 0, 0), rings);
    EXPECT_EQ(SendMessageW(phoneWindow, phone::kTouchedRingsMessage, 0, 0), 0);
}

TEST_F(PhoneControlHostTest, DeliversTwoCallsInARow) {
    const auto host = makeHost();
    const HWND phoneWindow = PhoneWindowIn(host->window());
    EXPECT_EQ(phone::Ring(phoneWindow, L"111", L"1"), 1);
    EXPECT_EQ(phone::Ring(phoneWindow, L"222", L"2"), 1);
    EXPECT_EQ(received, (std::vector<Received>{{"111", "1"}, {"222", "2"}}));
}

TEST_F(PhoneControlHostTest, AfterTheHostNothingIsReported) {
    auto host = makeHost();
    const HWND phoneWindow = PhoneWindowIn(host->window());
    const HWND box = host->window();
    host.reset();
    EXPECT_FALSE(IsWindow(box));
    EXPECT_FALSE(IsWindow(phoneWindow));
    EXPECT_EQ(phone::Ring(phoneWindow, L"030", L"1"), 0);
    EXPECT_TRUE(received.empty());
    EXPECT_FALSE(source->connected());
}

TEST_F(PhoneControlHostTest, ASourceStartedAfterTheHandOverConnectsThen) {
    source = std::make_unique<win32::PhoneControlSource>(phone::kProgId);
    PhoneControlHost host(parent.get(), kBoxId, kBox, phone::kProgId);
    host.handTo(*source);
    EXPECT_FALSE(source->connected());
    startSource();
    ASSERT_EQ(statuses.size(), 1U);
    EXPECT_TRUE(statuses[0].receiving) << status();
    EXPECT_EQ(phone::Ring(PhoneWindowIn(host.window()), L"030", L"1"), 1);
    EXPECT_EQ(received, (std::vector<Received>{{"030", "1"}}));
}

TEST_F(PhoneControlHostTest, MayBeDestroyedByItsOwnHandler) {
    std::unique_ptr<PhoneControlHost> host;
    int calls = 0;
    source = std::make_unique<win32::PhoneControlSource>(phone::kProgId);
    source->start(
        [&](std::string_view, std::string_view) {
            ++calls;
            host.reset();
        },
        [](const platform::CallSourceStatus&) {});
    host = std::make_unique<PhoneControlHost>(parent.get(), kBoxId, kBox, phone::kProgId);
    host->handTo(*source);
    const HWND phoneWindow = PhoneWindowIn(host->window());
    EXPECT_EQ(phone::Ring(phoneWindow, L"030", L"1"), 1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(host, nullptr);
    EXPECT_FALSE(IsWindow(phoneWindow));
}

TEST_F(PhoneControlHostTest, MovesTheControlWithTheBox) {
    const auto host = makeHost();
    host->move(RECT{5, 6, 205, 106});
    RECT box{};
    GetWindowRect(host->window(), &box);
    MapWindowPoints(HWND_DESKTOP, parent.get(), reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, 6);
    RECT inside{};
    GetClientRect(PhoneWindowIn(host->window()), &inside);
    EXPECT_EQ(inside.right, 200);
    EXPECT_EQ(inside.bottom, 100);
}

TEST_F(PhoneControlHostTest, AMissingControlLeavesAnExplainingBox) {
    const auto host = makeHost(L"KlingelwartTest.GibtEsNicht");
    EXPECT_FALSE(host->hosted());
    ASSERT_NE(host->window(), nullptr);
    EXPECT_EQ(GetParent(host->window()), parent.get());
    EXPECT_EQ(GetDlgCtrlID(host->window()), kBoxId);
    EXPECT_FALSE(statuses.back().receiving);
    EXPECT_EQ(status(),
              "Das Telefon-Steuerelement KlingelwartTest.GibtEsNicht ist nicht installiert: "
              "Anrufe werden nicht gemeldet.");
    host->move(RECT{0, 0, 50, 50});
    UpdateWindow(host->window());  // paints the crossed telephone
}

}  // namespace
}  // namespace kw::winui
