// SIP source: from an INVITE sent by sipp on loopback to the caller line showing its call, with
// the real source, window and presenter in this process (offscreen); then the resident memory
// before and after a flood of INVITEs, and the longest stall of the window's event loop during
// it. Prints figures only.
//
//   kw_sip_bench [CALLS] [FLOOD]
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <iomanip>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_figures.h"
#include "bench/resident_memory.h"
#include "platform/qt/sip_source.h"
#include "tests/qt/main_screen_rig.h"

namespace {

// The wall clock: sipp stamps its log with it.
using Clock = std::chrono::system_clock;
using kw::bench::Milliseconds;
using kw::bench::Percentile;

quint16 FreeUdpPort() {
    QUdpSocket socket;
    socket.bind(QHostAddress::LocalHost, 0);
    return socket.localPort();
}

// Notes when each call's handler has run, the caller line updated by then.
class TimedSource final : public kw::platform::CallSource {
  public:
    explicit TimedSource(std::unique_ptr<kw::platform::CallSource> inner)
        : inner_(std::move(inner)) {}

    void start(CallHandler onCall, StatusHandler onStatus) override {
        inner_->start(
            [this, onCall](std::string_view caller, std::string_view called) {
                onCall(caller, called);
                shown[std::string(caller)] = Clock::now();
            },
            std::move(onStatus));
    }

    std::map<std::string, Clock::time_point> shown;

  private:
    std::unique_ptr<kw::platform::CallSource> inner_;
};

// When sipp sent each INVITE, by caller, from its message log.
std::map<std::string, Clock::time_point> SentInvites(const std::string& log) {
    std::map<std::string, Clock::time_point> sent;
    std::ifstream in(log);
    std::string line;
    Clock::time_point stamp;
    bool invite = false;
    while (std::getline(in, line)) {
        if (line.starts_with("-----------------------------------------------")) {
            std::tm tm{};
            double seconds = 0;
            std::istringstream text(line.substr(48));
            text >> std::get_time(&tm, "%Y-%m-%d") >> std::get_time(&tm, "%H:%M:") >> seconds;
            tm.tm_isdst = -1;
            stamp =
                Clock::from_time_t(std::mktime(&tm)) +
                std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
            invite = false;
        } else if (line.starts_with("INVITE ")) {
            invite = true;
        } else if (invite && line.starts_with("From: <sip:")) {
            const std::string caller = line.substr(11, line.find('@') - 11);
            sent.emplace(caller, stamp);
        }
    }
    return sent;
}

void Wait(const std::function<bool()>& done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

bool RunSipp(QStringList arguments) {
    arguments << "-i"
              << "127.0.0.1"
              << "-p" << QString::number(FreeUdpPort()) << "-nostdin"
              << "-timeout"
              << "120s";
    QProcess sipp;
    sipp.setStandardOutputFile(QProcess::nullDevice());
    sipp.setStandardErrorFile(QProcess::nullDevice());
    sipp.start("sipp", arguments);
    if (!sipp.waitForStarted()) {
        return false;
    }
    Wait([&] { return sipp.state() == QProcess::NotRunning; });
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int flood = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10000;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QTemporaryDir work;
    const quint16 port = FreeUdpPort();
    kw::test::MainScreenRig rig;
    auto timed = std::make_unique<TimedSource>(std::make_unique<kw::qt::SipSource>(
        kw::SipAccount{"127.0.0.1:" + std::to_string(FreeUdpPort()), "4711", {}, {}}, "geheim",
        kw::qt::SipStackOptions{"127.0.0.1", port}));
    TimedSource& source = *timed;
    rig.sources.add(std::move(timed));
    if (!rig.presenter.load()) {
        return 1;
    }
    rig.sources.start();
    rig.view.showAsLoaded();
    const QString target = "127.0.0.1:" + QString::number(port);
    const QString scenario = QStringLiteral(KW_SIP_SCENARIOS "/ring_cancel.xml");

    // One call at a time, each caller its own number.
    const QString fields = work.filePath("anrufer.csv");
    {
        std::ofstream out(fields.toStdString());
        out << "SEQUENTIAL\n";
        for (int i = 0; i < calls; ++i) {
            out << "<sip:030" << 100000 + i << "@pbx.test>;X-Leer: 1\n";
        }
    }
    const QString log = work.filePath("sipp.log");
    if (!RunSipp({"-sf", scenario, target, "-inf", fields, "-m", QString::number(calls), "-r", "10",
                  "-trace_msg", "-message_file", log})) {
        std::fprintf(stderr, "sipp fehlt\n");
        return 1;
    }
    std::vector<double> shown;
    for (const auto& [caller, sent] : SentInvites(log.toStdString())) {
        const auto found = source.shown.find(caller);
        if (found != source.shown.end()) {
            shown.push_back(Milliseconds(found->second - sent).count());
        }
    }
    if (shown.empty()) {
        std::fprintf(stderr, "Kein Anruf kam an\n");
        return 1;
    }

    // A flood, watched by a timer that should tick every 10 ms.
    const double before = ResidentMiB();
    const QString floodFields = work.filePath("flut.csv");
    std::ofstream(floodFields.toStdString()) << "SEQUENTIAL\n<sip:0309999@pbx.test>;X-Leer: 1\n";
    QElapsedTimer sinceTick;
    qint64 longestStall = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestStall = std::max(longestStall, sinceTick.restart()); });
    sinceTick.start();
    ticker.start(10);
    RunSipp(
        {"-sf", scenario, target, "-inf", floodFields, "-m", QString::number(flood), "-r", "1000"});
    ticker.stop();
    const double after = ResidentMiB();
    QTimer::singleShot(std::chrono::seconds(35), &application, &QCoreApplication::quit);
    QApplication::exec();
    const double settled = ResidentMiB();

    std::printf("INVITE von sipp bis zur Anruferzeile, %zu von %d Anrufen über 127.0.0.1\n",
                shown.size(), calls);
    std::printf("%-26s %10s %10s %10s\n", "", "Median ms", "p95 ms", "Max ms");
    kw::bench::PrintSpread("Anruferzeile zeigt Anruf", shown, 3);
    std::printf(
        "%d INVITEs mit 1000/s: resident %.1f MiB vorher, %.1f MiB danach, %.1f MiB "
        "35 s später; längste Pause der Ereignisschleife %lld ms\n",
        flood, before, after, settled, static_cast<long long>(longestStall));
    return 0;
}
