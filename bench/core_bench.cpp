// What one call costs before anything is started: options read from the real settings file,
// the template filled and split, and a web address encoded.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/app_options.h"
#include "core/caller_line_display.h"
#include "core/filled_command.h"
#include "core/web_address.h"
#include "platform/posix/command_words.h"
#include "platform/qt/ini_settings_store.h"

namespace {

std::string CallerOfLength(std::size_t length) {
    std::string caller;
    const std::string hostile = "(0) 1\"'$(id);&|`\\\n ";
    while (caller.size() < length) {
        caller += hostile;
    }
    caller.resize(length);
    return caller;
}

void BM_FillAndSplit(benchmark::State& state) {
    const std::string caller = CallerOfLength(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const auto filled = kw::FillTemplate(
            "/usr/bin/suche --nummer={AnrufNummer} --msn '{MSN}' \"{AnrufNummer}\"", caller,
            "67890");
        auto words = kw::posix::SplitCommandWords(filled);
        benchmark::DoNotOptimize(words);
    }
}
BENCHMARK(BM_FillAndSplit)->Arg(12)->Arg(10000);

void BM_WebAddress(benchmark::State& state) {
    const std::string caller = CallerOfLength(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto address = kw::WebAddress(
            kw::FillTemplate("https://suche.example/?q={AnrufNummer}&l={MSN}", caller, "67890"));
        benchmark::DoNotOptimize(address);
    }
}
BENCHMARK(BM_WebAddress)->Arg(12)->Arg(10000);

// Fitting a forged number into the caller line, with a measure as cheap as it gets: what is
// left is the fitting's own cost.
void BM_FitCallerLine(benchmark::State& state) {
    const std::string caller = CallerOfLength(static_cast<std::size_t>(state.range(0)));
    const kw::TextWidth measure = [](std::string_view text) {
        return static_cast<int>(text.size()) * 7;
    };
    for (auto _ : state) {
        auto display = kw::FitCallerLine(caller, "67890", 360, measure);
        benchmark::DoNotOptimize(display);
    }
}
BENCHMARK(BM_FitCallerLine)->Arg(12)->Arg(300)->Arg(100000);

void BM_LoadOptionsFromFile(benchmark::State& state) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("kw-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        kw::qt::IniSettingsStore store("Klingelwart", dir / "Klingelwart.conf");
        (void)kw::WriteOption(store, kw::key::kShell, "http://suche.example/?q={AnrufNummer}");
        (void)kw::WriteOption(store, kw::key::kDoJob, "1");
        (void)kw::WriteOption(store, kw::key::kStart, "2");
    }
    if (state.range(0) > 0) {  // a comment that pads the file, up to a size no settings file has
        std::ofstream(dir / "Klingelwart.conf", std::ios::app)
            << "; " << std::string(static_cast<std::size_t>(state.range(0)), 'x') << "\n";
    }
    kw::qt::IniSettingsStore store("Klingelwart", dir / "Klingelwart.conf");
    kw::AppOptions options;
    for (auto _ : state) {
        kw::LoadOptions(store, options);
        benchmark::DoNotOptimize(options);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadOptionsFromFile)->Arg(0)->Arg(1000 * 1000)->Arg(100 * 1000 * 1000);

}  // namespace
