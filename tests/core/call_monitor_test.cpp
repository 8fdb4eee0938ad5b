#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/call_monitor_line.h"
#include "core/call_monitor_status.h"
#include "core/retry_schedule.h"

namespace kw {
namespace {

using std::chrono::milliseconds;

std::vector<std::string> Lines(const std::vector<std::string>& packets) {
    CallMonitorLines lines;
    std::vector<std::string> out;
    for (const std::string& packet : packets) {
        lines.feed(packet, [&](std::string_view line) { out.emplace_back(line); });
    }
    return out;
}

TEST(CallMonitorLines, SplitsAndBoundsLines) {
    const std::string limit(kMaxCallMonitorLine, 'x');
    const std::string over(kMaxCallMonitorLine + 1, 'x');
    const struct {
        std::vector<std::string> packets;
        std::vector<std::string> lines;
    } cases[] = {
        {{"a\r\nb\n"}, {"a", "b"}},
        {{"a\r", "\n", "b"}, {"a"}},  // a line without its end is not yet a line
        {{"a;", "R", "ING\r\n"}, {"a;RING"}},
        {{"\n\r\n"}, {"", ""}},
        {{limit + "\r\n", limit + "\n"}, {limit, limit}},
        {{over + "\r\nok\n"}, {"ok"}},
        {{over + "\nok\n"}, {"ok"}},
        {{over, over, "\r", "\nok\n"}, {"ok"}},  // skipped across packets, then resumed
        {{"x\r\r\n"}, {"x\r"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Lines(c.packets), c.lines) << c.packets.front().substr(0, 20);
    }
}

TEST(CallMonitorLines, ResetForgetsThePartialLine) {
    CallMonitorLines lines;
    std::vector<std::string> out;
    const auto keep = [&](std::string_view line) { out.emplace_back(line); };
    lines.feed("07.12.26;RI", keep);
    lines.reset();
    lines.feed("NG\n", keep);
    EXPECT_EQ(out, std::vector<std::string>{"NG"});
}

TEST(DecodeCallMonitorLine, TakesRingsOnly) {
    const std::optional<MonitorRing> none;
    const struct {
        std::string line;
        std::optional<MonitorRing> ring;
    } cases[] = {
        {"07.12.26 14:05:01;RING;0;0301234567;4711;SIP0;", MonitorRing{"0301234567", "4711"}},
        {"07.12.26 14:05:01;RING;0;;4711;SIP0;", MonitorRing{"", "4711"}},
        {"d;RING;0;030;4711", MonitorRing{"030", "4711"}},
        {"d;RING;0;030;", MonitorRing{"030", ""}},
        {"d;RING;0;Müller <x>;4711;", MonitorRing{"Müller <x>", "4711"}},
        {"07.12.26 14:05:09;CALL;1;10;4711;0301234567;SIP0;", none},
        {"07.12.26 14:05:12;CONNECT;0;10;0301234567;", none},
        {"07.12.26 14:06:40;DISCONNECT;0;88;", none},
        {"d;ring;0;030;4711;", none},
        {"d;RINGX;0;030;4711;", none},
        {"d;RING;0;030", none},
        {"RING;0;030;4711", none},
        {"", none},
        {std::string("d;RING;0;0") + '\0' + "1;4711;", none},
        {"d;RING;0;\xC3(;4711;", none},
        {"d;RING;0;\xC0\xAF;4711;", none},      // overlong
        {"d;RING;0;\xED\xA0\x80;4711;", none},  // surrogate
        {"d;RING;0;\xF4\x90\x80\x80;4711;", none},
        {"d;RING;0;030;4711;\xE2\x82", none},  // cut at the end
        {"d;RING;0;" + std::string(kMaxCallMonitorLine, '1') + ";4711;", none},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeCallMonitorLine(c.line), c.ring) << c.line;
    }
}

TEST(DecodeMonitorEvent, TakesTheFourEventsOfACall) {
    using K = MonitorEvent::Kind;
    const std::optional<MonitorEvent> none;
    const struct {
        std::string line;
        std::optional<MonitorEvent> event;
    } cases[] = {
        {"d;RING;3;030;4711;SIP0;", MonitorEvent{K::Ring, "3", "030", "4711"}},
        {"d;CALL;1;10;4711;0301234567;SIP0;", MonitorEvent{K::Call, "1", "0301234567", ""}},
        {"d;CONNECT;0;10;0301234567;", MonitorEvent{K::Connect, "0", "0301234567", ""}},
        {"d;DISCONNECT;0;88;", MonitorEvent{K::Disconnect, "0", "", ""}},
        {"d;DISCONNECT;0;88", MonitorEvent{K::Disconnect, "0", "", ""}},
        {"d;DISCONNECT;0", none},
        {"d;CONNECT;0;10", none},
        {"d;CALL;1;10;4711", none},
        {"d;connect;0;10;030;", none},
        {"d;DISCONNECT;0;\xFF;", none},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeMonitorEvent(c.line), c.event) << c.line;
    }
}

TEST(RetrySchedule, DoublesUpToTheLongestAndStartsOver) {
    RetrySchedule schedule;
    std::vector<long long> waits;
    for (int i = 0; i < 8; ++i) {
        waits.push_back(schedule.next().count() / 1000);
    }
    EXPECT_EQ(waits, (std::vector<long long>{1, 2, 4, 8, 16, 32, 60, 60}));
    schedule.reset();
    EXPECT_EQ(schedule.next(), milliseconds(1000));
    EXPECT_EQ(RetrySchedule(milliseconds(0), milliseconds(0)).next(), milliseconds(1));
}

TEST(CallMonitorStatus, NamesAddressReasonAndWait) {
    EXPECT_EQ(CallMonitorConnected("fritz.box", 1012), "Anrufmonitor fritz.box:1012: verbunden");
    EXPECT_EQ(CallMonitorWaiting("fritz.box", 1012, MonitorFault::Refused, milliseconds(8000)),
              "Anrufmonitor fritz.box:1012: nicht erreichbar (Verbindung abgelehnt), neuer "
              "Versuch in 8 s");
    EXPECT_EQ(CallMonitorWaiting("::1", 1012, MonitorFault::Closed, milliseconds(10)),
              "Anrufmonitor [::1]:1012: Verbindung getrennt, neuer Versuch in 1 s");
    EXPECT_EQ(CallMonitorAddress("[::1]", 80), "[::1]:80");
}

}  // namespace
}  // namespace kw
