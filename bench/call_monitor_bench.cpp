// Call monitor: from a router line written on loopback to the caller line showing its call, with
// the real source, the real main window and its presenter in this process (offscreen); then the
// CPU time of the connected, idle source. Prints figures only.
//
//   kw_call_monitor_bench [CALLS] [IDLE_SECONDS]
#include <sys/resource.h>

#include <QApplication>
#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_figures.h"
#include "platform/qt/call_monitor_source.h"
#include "tests/qt/main_screen_rig.h"
#include "ui/qt/phone_control_widget.h"

namespace {

using kw::bench::Clock;
using kw::bench::CpuSeconds;
using kw::bench::Milliseconds;
using kw::bench::Percentile;

void Wait(const std::function<bool()>& done) {
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int idleSeconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QTcpServer router;
    if (!router.listen(QHostAddress::LocalHost)) {
        std::fprintf(stderr, "Kein Port auf 127.0.0.1\n");
        return 1;
    }
    kw::test::MainScreenRig rig;
    rig.sources.add(std::make_unique<kw::qt::CallMonitorSource>("127.0.0.1", router.serverPort()));
    if (!rig.presenter.load()) {
        return 1;
    }
    rig.sources.start();
    rig.view.showAsLoaded();
    Wait([&] { return router.hasPendingConnections(); });
    QTcpSocket* connection = router.nextPendingConnection();
    connection->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    Wait([&] { return rig.view.phoneControl().receiving(); });
    auto* callerLine = rig.view.findChild<QLabel*>("LBL_Anrufer");

    std::vector<double> shown;
    for (int i = 0; i < calls; ++i) {
        const std::string caller = "030" + std::to_string(100000 + i);
        const QString expected =
            QString::fromStdString("Anruf von " + caller + " auf Leitung: 4711");
        const std::string line = "07.12.26 14:05:01;RING;0;" + caller + ";4711;SIP0;\r\n";
        const Clock::time_point start = Clock::now();
        connection->write(line.data(), static_cast<qint64>(line.size()));
        connection->flush();
        Wait([&] { return callerLine->text() == expected; });
        shown.push_back(Milliseconds(Clock::now() - start).count());
    }

    const double cpuBefore = CpuSeconds();
    const Clock::time_point idleStart = Clock::now();
    QTimer::singleShot(std::chrono::seconds(idleSeconds), &application, &QCoreApplication::quit);
    QApplication::exec();
    const double wall = std::chrono::duration<double>(Clock::now() - idleStart).count();
    const double cpu = CpuSeconds() - cpuBefore;

    std::printf("Anrufmonitor-Zeile bis zur Anruferzeile, %d Anrufe über 127.0.0.1\n", calls);
    std::printf("%-26s %10s %10s %10s\n", "", "Median ms", "p95 ms", "Max ms");
    kw::bench::PrintSpread("Anruferzeile zeigt Anruf", shown, 3);
    std::printf("Verbunden und still: %.3f ms CPU in %.1f s (%.4f %%)\n", cpu * 1000, wall,
                100 * cpu / wall);
    return 0;
}
