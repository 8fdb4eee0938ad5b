// The call list window with a full list: opening it (view, presenter, rows, first paint),
// switching "Nur verpasste" on and off, and the memory the open window takes. Prints figures only.
// Run with QT_QPA_PLATFORM=offscreen when no display is at hand.
//
//   kw_call_list_window_bench [RUNS]
#include <QApplication>
#include <QCheckBox>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_figures.h"
#include "bench/resident_memory.h"
#include "core/call_log.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "tests/support/hostile_texts.h"
#include "tests/support/memory_call_list_file.h"
#include "ui/anrufliste.h"
#include "ui/anrufliste_layout.h"
#include "ui/qt/qt_anrufliste_view.h"

namespace {

namespace bench = kw::bench;

class NoClipboard : public kw::platform::Clipboard {
  public:
    bool setText(std::string_view) override { return true; }
};

// A third missed; names and numbers from the hostile texts, cut to what a real entry holds.
std::string FullList() {
    const std::vector<std::string> hostile = kw::test::HostileTexts();
    std::string bytes;
    for (std::uint64_t n = 1; n <= kw::kKeptCalls; ++n) {
        const std::string& odd = hostile[n % hostile.size()];
        bytes += kw::EncodeCallEntry(
            {.key = n,
             .time = 1765115101 + static_cast<std::int64_t>(n) * 60,
             .caller = n % 5 == 0 ? odd.substr(0, 24) : "+49 30 " + std::to_string(1000000 + n),
             .called = "4711",
             .name = n % 2 == 0 ? odd.substr(0, 48) : "Müller-Lüdenscheidt, Anna-Katharina",
             .source = kw::CallSourceKind::RouterMonitor,
             .outcome = n % 3 == 0 ? kw::CallOutcome::Missed : kw::CallOutcome::Answered});
    }
    return bytes;
}

// Bytes the heap has handed out: unlike the resident size, not hidden by pages freed before.
double HeapMiB() {
    return static_cast<double>(::mallinfo2().uordblks) / (1024.0 * 1024.0);
}

struct Window {
    explicit Window(kw::ui::AnruflistePlatform& platform) : presenter(view, platform) {
        view.connectTo(presenter);
    }
    kw::qt::QtAnruflisteView view;
    kw::ui::Anrufliste presenter;
};

// Shown and painted once, as the user first sees it.
void Paint(QWidget& window) {
    window.show();
    QCoreApplication::processEvents();
    static_cast<void>(window.grab());
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    kw::test::MemoryCallListFile file;
    file.bytes = FullList();
    kw::test::FakeSettingsStore store;
    kw::test::FakeMessageBox messages;
    kw::test::FakeFileDialog files;
    NoClipboard clipboard;
    const double beforeLog = ResidentMiB();
    const double heapBeforeLog = HeapMiB();
    kw::CallLog log(file);
    const std::string problem = log.load();
    const double afterLog = ResidentMiB();
    const double heapLog = HeapMiB() - heapBeforeLog;
    kw::ui::AnruflistePlatform platform{log, store, messages, files, clipboard, {}};

    // Qt's own first-window costs (fonts, styles) are not the list's.
    {
        kw::test::MemoryCallListFile empty;
        kw::CallLog none(empty);
        kw::ui::AnruflistePlatform nothing{none, store, messages, files, clipboard, {}};
        Window warm(nothing);
        warm.presenter.load();
        Paint(warm.view);
    }
    QCoreApplication::processEvents();

    std::vector<double> open;
    std::vector<double> filter;
    std::vector<double> cpuOpen;
    double windowMiB = 0;
    double heapWindow = 0;
    for (int run = 0; run < runs; ++run) {
        const double residentBefore = ResidentMiB();
        const double heapBefore = HeapMiB();
        const double cpuBefore = bench::CpuSeconds();
        const auto start = bench::Clock::now();
        auto window = std::make_unique<Window>(platform);
        window->presenter.load();
        Paint(window->view);
        open.push_back(bench::Milliseconds(bench::Clock::now() - start).count());
        cpuOpen.push_back(1000.0 * (bench::CpuSeconds() - cpuBefore));
        if (run == 0) {
            windowMiB = ResidentMiB() - residentBefore;
            heapWindow = HeapMiB() - heapBefore;
        }

        auto* onlyMissed = window->view.findChild<QCheckBox*>(
            QString::fromUtf8(kw::ui::anrufliste::kOnlyMissed.data(),
                              static_cast<qsizetype>(kw::ui::anrufliste::kOnlyMissed.size())));
        if (onlyMissed == nullptr) {
            std::fprintf(stderr, "Kein Feld \"Nur verpasste\"\n");
            return 1;
        }
        for (const bool on : {true, false}) {
            const auto toggled = bench::Clock::now();
            onlyMissed->setChecked(on);
            window->presenter.filterClicked();
            static_cast<void>(window->view.grab());
            filter.push_back(bench::Milliseconds(bench::Clock::now() - toggled).count());
        }
        window.reset();
        QCoreApplication::processEvents();
    }

    std::printf("Anrufliste mit %zu Anrufen (%s), %d Läufe\n", log.entries().size(),
                problem.empty() ? "gelesen" : problem.c_str(), runs);
    std::printf("%-26s %10s %10s %10s\n", "ms", "Median", "p95", "Max");
    bench::PrintSpread("Öffnen (Wand)", open, 1);
    bench::PrintSpread("Öffnen (CPU)", cpuOpen, 1);
    bench::PrintSpread("Nur verpasste an/aus", filter, 1);
    std::printf(
        "Speicher (resident): Liste +%.1f MiB, offenes Fenster +%.1f MiB, zusammen +%.1f MiB\n",
        afterLog - beforeLog, windowMiB, afterLog - beforeLog + windowMiB);
    std::printf(
        "Speicher (Heap):     Liste +%.1f MiB, offenes Fenster +%.1f MiB, zusammen +%.1f MiB\n",
        heapLog, heapWindow, heapLog + heapWindow);
    return 0;
}
