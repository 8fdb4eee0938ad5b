// Start-up of the program against a minimal Qt window, measured from outside on the X server in
// DISPLAY: time from the start of the process to the map of its first top-level window, and the
// peak resident memory of the process (wait4). Each program runs in turn, with fresh settings
// and runtime directories, so every Klingelwart start is a first instance. Prints figures only.
//
//   kw_startup_bench [RUNS [PROGRAM [YARDSTICK [SETTINGS]]]]
//
// Defaults: klingelwart, kw_minimal_window, and settings with every optional call source off.
// SETTINGS is a Klingelwart.conf copied into each run's fresh configuration directory.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_figures.h"

namespace {

using kw::bench::Clock;
using kw::bench::Milliseconds;
using kw::bench::Percentile;

// Left running after the map so that the first paint is part of the peak memory.
constexpr std::chrono::milliseconds kSettle{400};
constexpr std::chrono::seconds kMapTimeout{20};

struct Run {
    double mappedMs = 0;
    long peakKiB = 0;
};

struct XcbDeleter {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, XcbDeleter>;

class ScratchDirectory {
  public:
    ScratchDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kw-bench-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Waits for the map of a new top-level window; false on timeout.
bool WaitForMap(xcb_connection_t* connection, Clock::time_point deadline) {
    pollfd watched{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped =
                (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
            std::free(event);
            if (mapped) {
                return true;
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        ::poll(&watched, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
    }
    return false;
}

constexpr char kDefaultSettings[] = "[Options]\nDoJob=1\nStart=2\n";

std::optional<Run> RunOnce(const std::string& program, const std::string& settings) {
    ScratchDirectory scratch;
    const std::string config = scratch.path() + "/config";
    const std::string runtime = scratch.path() + "/run";
    std::filesystem::create_directories(config);
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    std::ofstream(config + "/Klingelwart.conf") << settings;

    Connection connection(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(connection.get()) != 0) {
        std::fprintf(stderr, "keine Verbindung zum X-Server (DISPLAY)\n");
        return std::nullopt;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection.get())).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection.get(), screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection.get());

    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        if (text.rfind("XDG_CONFIG_HOME=", 0) != 0 && text.rfind("XDG_RUNTIME_DIR=", 0) != 0) {
            environment.push_back(text);
        }
    }
    environment.push_back("XDG_CONFIG_HOME=" + config);
    environment.push_back("XDG_RUNTIME_DIR=" + runtime);
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};

    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    if (::posix_spawn(&child, path.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
        std::fprintf(stderr, "%s startet nicht\n", program.c_str());
        return std::nullopt;
    }
    const bool mapped = WaitForMap(connection.get(), start + kMapTimeout);
    const Clock::time_point shown = Clock::now();

    // The minimal window ends by itself after its first paint; the program is ended here.
    const Clock::time_point settled = shown + kSettle;
    int status = 0;
    rusage usage{};
    pid_t done = 0;
    while ((done = ::wait4(child, &status, WNOHANG, &usage)) == 0 && Clock::now() < settled) {
        ::usleep(5000);
    }
    if (done == 0) {
        ::kill(child, SIGTERM);
        ::wait4(child, &status, 0, &usage);
    }
    if (!mapped) {
        std::fprintf(stderr, "%s zeigte kein Fenster\n", program.c_str());
        return std::nullopt;
    }
    return Run{Milliseconds(shown - start).count(), usage.ru_maxrss};
}

struct Figures {
    double medianMs = 0;
    double p95Ms = 0;
    double medianMiB = 0;
};

Figures Summarise(const std::vector<Run>& runs) {
    std::vector<double> times;
    std::vector<double> memory;
    for (const Run& run : runs) {
        times.push_back(run.mappedMs);
        memory.push_back(static_cast<double>(run.peakKiB) / 1024.0);
    }
    return {Percentile(times, 0.5), Percentile(times, 0.95), Percentile(memory, 0.5)};
}

}  // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const std::string programs[] = {argc > 2 ? argv[2] : KW_PROGRAM,
                                    argc > 3 ? argv[3] : KW_MINIMAL_WINDOW};
    std::string settings = kDefaultSettings;
    if (argc > 4) {
        std::ifstream file(argv[4]);
        if (!file) {
            std::fprintf(stderr, "%s nicht lesbar\n", argv[4]);
            return 1;
        }
        settings.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    std::vector<Run> results[2];
    // One untimed start each fills the file cache; then the two alternate.
    for (const std::string& program : programs) {
        if (!RunOnce(program, settings)) {
            return 1;
        }
    }
    for (int round = 0; round < runs; ++round) {
        for (int which = 0; which < 2; ++which) {
            std::optional<Run> run = RunOnce(programs[which], settings);
            if (!run) {
                return 1;
            }
            results[which].push_back(*run);
        }
    }
    const Figures program = Summarise(results[0]);
    const Figures minimal = Summarise(results[1]);
    std::printf("Start bis zum ersten Fenster, %d Läufe je Programm (Dateicache warm)\n", runs);
    std::printf("%-22s %12s %12s %16s\n", "", "Median ms", "p95 ms", "Spitze RSS MiB");
    const std::string names[] = {std::filesystem::path(programs[0]).filename().string(),
                                 std::filesystem::path(programs[1]).filename().string()};
    std::printf("%-22s %12.1f %12.1f %16.1f\n", names[0].c_str(), program.medianMs, program.p95Ms,
                program.medianMiB);
    std::printf("%-22s %12.1f %12.1f %16.1f\n", names[1].c_str(), minimal.medianMs, minimal.p95Ms,
                minimal.medianMiB);
    std::printf("%-22s %12.2f %12.2f %16.2f\n", "Verhältnis", program.medianMs / minimal.medianMs,
                program.p95Ms / minimal.p95Ms, program.medianMiB / minimal.medianMiB);
    return 0;
}
