// Ring latency: from the start of a klingelwart-ring process to the caller line showing its call,
// with the real listener, the real main window and its presenter in this process (offscreen).
// Prints median, p95 and maximum over the rings; figures only.
//
//   kw_ring_latency_bench [RINGS]
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_figures.h"
#include "platform/posix/runtime_directory.h"
#include "platform/qt/ring_socket_source.h"
#include "tests/qt/main_screen_rig.h"
#include "ui/qt/phone_control_widget.h"

namespace {

using kw::bench::Clock;
using kw::bench::Milliseconds;
using kw::bench::Percentile;

}  // namespace

int main(int argc, char* argv[]) {
    const int rings = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QTemporaryDir runtime;
    auto directory = kw::posix::PrivateRuntimeDirectoryIn(runtime.path().toStdString(), "");
    if (!directory.ok()) {
        std::fprintf(stderr, "%s\n", directory.failure().description.c_str());
        return 1;
    }
    kw::test::MainScreenRig rig;
    rig.sources.add(std::make_unique<kw::qt::RingSocketSource>(std::move(directory)));
    if (!rig.presenter.load()) {
        return 1;
    }
    rig.sources.start();
    if (!rig.view.phoneControl().receiving()) {
        std::fprintf(stderr, "%s\n", rig.view.phoneControl().toolTip().toStdString().c_str());
        return 1;
    }
    rig.view.showAsLoaded();
    auto* callerLine = rig.view.findChild<QLabel*>("LBL_Anrufer");

    std::string tool = KW_RING_TOOL;
    std::string runtimeVariable = "XDG_RUNTIME_DIR=" + runtime.path().toStdString();
    std::vector<char*> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::string(*entry).rfind("XDG_RUNTIME_DIR=", 0) != 0) {
            environment.push_back(*entry);
        }
    }
    environment.push_back(runtimeVariable.data());
    environment.push_back(nullptr);

    std::vector<double> shown;
    std::vector<double> exited;
    std::string called = "4711";
    for (int i = 0; i < rings; ++i) {
        std::string caller = "(030) " + std::to_string(100000 + i);
        const QString expected =
            QString::fromStdString("Anruf von " + caller + " auf Leitung: " + called);
        char* args[] = {tool.data(), caller.data(), called.data(), nullptr};
        const Clock::time_point start = Clock::now();
        pid_t child = 0;
        if (::posix_spawn(&child, tool.c_str(), nullptr, nullptr, args, environment.data()) != 0) {
            std::fprintf(stderr, "klingelwart-ring startet nicht\n");
            return 1;
        }
        while (callerLine->text() != expected) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        shown.push_back(Milliseconds(Clock::now() - start).count());
        int status = 0;
        ::waitpid(child, &status, 0);
        exited.push_back(Milliseconds(Clock::now() - start).count());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "klingelwart-ring endete mit Status %d\n", status);
            return 1;
        }
    }
    std::printf("Anruf bis zur Anruferzeile, %d Anrufe (klingelwart-ring als eigener Prozess)\n",
                rings);
    std::printf("%-26s %10s %10s %10s\n", "", "Median ms", "p95 ms", "Max ms");
    kw::bench::PrintSpread("Anruferzeile zeigt Anruf", shown, 2);
    kw::bench::PrintSpread("klingelwart-ring beendet", exited, 2);
    return 0;
}
