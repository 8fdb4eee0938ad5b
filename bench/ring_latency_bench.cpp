// Ring latency: from the start of a klingelwart-ring process to the caller line showing its call,
// with the real listener, the way every report goes in the program (one call however many sources
// report it, the caller's name from the books), the real main window and its presenter in this
// process (offscreen). The rings alternate between no books and 100,000 contacts, one of which is
// the caller. Prints median, p95 and maximum over the rings and the ratio of the medians; figures
// only.
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

#include "app/phone_books.h"
#include "bench/bench_figures.h"
#include "platform/posix/runtime_directory.h"
#include "platform/qt/ring_socket_source.h"
#include "tests/qt/main_screen_rig.h"
#include "ui/incoming_calls.h"
#include "ui/qt/phone_control_widget.h"

namespace {

using kw::bench::Clock;
using kw::bench::Milliseconds;
using kw::bench::Percentile;

constexpr int kContacts = 100'000;

// Contact k is reached on 040 2000000+k, written as people write numbers in their books.
std::string ContactNumber(int k) {
    return "040 " + std::to_string(2'000'000 + k);
}

std::vector<kw::BookReading> Books() {
    std::vector<kw::BookReading> books(2);
    for (int k = 0; k < kContacts; ++k) {
        books[static_cast<std::size_t>(k % 2)].entries.push_back(
            kw::BookEntry{"Kontakt " + std::to_string(k), ContactNumber(k)});
    }
    return books;
}

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
    kw::ui::CallNotificationsPlatform notificationsPlatform;
    kw::ui::CallNotifications notifications(notificationsPlatform);
    kw::ui::IncomingCallsPlatform incomingPlatform;
    kw::ui::IncomingCalls incoming(rig.presenter, rig.call, notifications, incomingPlatform);
    kw::ui::CallSources sources(
        [&incoming](kw::CallSourceKind kind, const kw::platform::CallReport& report) {
            incoming.report(kind, report);
        },
        rig.view);
    sources.add(std::make_unique<kw::qt::RingSocketSource>(std::move(directory)),
                kw::CallSourceKind::RingTool);
    if (!rig.presenter.load()) {
        return 1;
    }
    sources.start();
    if (!rig.view.phoneControl().receiving()) {
        std::fprintf(stderr, "%s\n", rig.view.phoneControl().toolTip().toStdString().c_str());
        return 1;
    }
    rig.view.showAsLoaded();
    auto* callerLine = rig.view.findChild<QLabel*>("LBL_Anrufer");
    kw::PhoneBookOptions home;
    home.Ortsvorwahl = "30";
    const kw::ui::NameLookup names = kw::app::BuildNameIndex(Books(), home);

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
    std::vector<double> shownNamed;
    std::string called = "4711";
    for (int i = 0; i < rings; ++i) {
        for (const bool named : {false, true}) {
            // Unknown to the books, and the named caller in the international form.
            const int contact = static_cast<int>((static_cast<long>(i) * 7919) % kContacts);
            std::string caller = named ? "+4940" + std::to_string(2'000'000 + contact)
                                       : "(030) " + std::to_string(100000 + i);
            const std::string name = named ? "Kontakt " + std::to_string(contact) : "";
            incoming.setNames(named ? names : nullptr);
            char* args[] = {tool.data(), caller.data(), called.data(), nullptr};
            const Clock::time_point start = Clock::now();
            pid_t child = 0;
            if (::posix_spawn(&child, tool.c_str(), nullptr, nullptr, args, environment.data()) !=
                0) {
                std::fprintf(stderr, "klingelwart-ring startet nicht\n");
                return 1;
            }
            // The caller line is written in the same turn as the call's record.
            while (rig.call.AnrufNummer != caller) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            }
            (named ? shownNamed : shown).push_back(Milliseconds(Clock::now() - start).count());
            if (rig.call.AnrufName != name || callerLine->text().isEmpty()) {
                std::fprintf(stderr, "%s: Name \"%s\" statt \"%s\"\n", caller.c_str(),
                             rig.call.AnrufName.c_str(), name.c_str());
                return 1;
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            if (!named) {
                exited.push_back(Milliseconds(Clock::now() - start).count());
            }
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
                std::fprintf(stderr, "klingelwart-ring endete mit Status %d\n", status);
                return 1;
            }
        }
    }
    std::printf(
        "Anruf bis zur Anruferzeile, %d Anrufe je Fall (klingelwart-ring als eigener "
        "Prozess)\n",
        rings);
    std::printf("%-26s %10s %10s %10s\n", "", "Median ms", "p95 ms", "Max ms");
    kw::bench::PrintSpread("Anruferzeile zeigt Anruf", shown, 2);
    kw::bench::PrintSpread("klingelwart-ring beendet", exited, 2);
    kw::bench::PrintSpread("mit 100.000 Kontakten", shownNamed, 2);
    std::printf("%-26s %10.2f\n", "Verhältnis mit/ohne",
                Percentile(shownNamed, 0.5) / Percentile(shown, 0.5));
    return 0;
}
