// The call list on disk and in memory: a durable append (fdatasync each), reading a list of
// 20,000 calls with every row's texts built, filtering it to the missed ones, and the memory the
// loaded list takes. Prints figures only.
//
//   kw_call_list_bench [APPENDS]
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/resident_memory.h"
#include "core/call_list_row.h"
#include "core/call_log.h"
#include "platform/posix/posix_call_list_file.h"

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

kw::CallEntry Call(std::uint64_t n) {
    return kw::CallEntry{n,
                         1765115101 + static_cast<std::int64_t>(n) * 60,
                         "+49 30 " + std::to_string(1000000 + n),
                         "4711",
                         n % 3 == 0 ? "Müller, Anna" : "",
                         kw::CallSourceKind::RouterMonitor,
                         n % 4 == 0 ? kw::CallOutcome::Missed : kw::CallOutcome::Answered};
}

template <typename Work>
double Median(int times, Work work) {
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
        const auto start = Clock::now();
        work();
        ms.push_back(Milliseconds(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    const int appends = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    std::string pattern = std::filesystem::temp_directory_path().string() + "/kw_bench_XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        return 1;
    }
    const std::string directory = pattern + "/Klingelwart";

    kw::posix::PosixCallListFile file(directory);
    kw::CallLog writer(file);
    std::uint64_t key = 0;
    const double append = Median(appends, [&] { writer.add(Call(++key)); });
    std::printf("Anhängen mit fdatasync: Median %.3f ms (%d Anrufe, %s)\n", append, appends,
                directory.c_str());

    std::string full;
    for (std::uint64_t n = 1; n <= kw::kKeptCalls; ++n) {
        full += kw::EncodeCallEntry(Call(n));
    }
    file.replace(full);

    const double before = ResidentMiB();
    kw::CallLog log(file);
    std::vector<kw::CallListRow> rows;
    const std::clock_t cpuStart = std::clock();
    const double open = Median(5, [&] {
        log.load();
        rows.clear();
        kw::CallTimeFormatter times;
        rows.reserve(log.entries().size());
        for (auto it = log.entries().rbegin(); it != log.entries().rend(); ++it) {
            rows.push_back(kw::CallListRowOf(*it, times));
        }
    });
    const double cpu = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / 5;
    const double after = ResidentMiB();
    // On a busy machine the wall time says more about the others; the CPU time is the list's.
    std::printf(
        "Öffnen mit %zu Anrufen (lesen, Zeilen bauen): Median %.1f ms, CPU %.1f ms, "
        "%zu Byte Datei\n",
        log.entries().size(), open, cpu, full.size());

    std::vector<std::size_t> shown;
    const double filter = Median(11, [&] {
        shown.clear();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i][4] == kw::OutcomeText(kw::CallOutcome::Missed)) {
                shown.push_back(i);
            }
        }
    });
    std::printf("Filter \"Nur verpasste\": Median %.2f ms (%zu von %zu)\n", filter, shown.size(),
                rows.size());
    std::printf("Speicher für die geladene Liste: +%.1f MiB\n", after - before);

    std::filesystem::remove_all(pattern);
    return 0;
}
