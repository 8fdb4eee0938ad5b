#include "ui/book_loader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>

#include "core/book_files.h"
#include "tests/support/posted_tasks.h"

namespace kw::ui {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Each line of a file is a "number=name" entry.
BookReading Lines(std::string_view, std::string_view bytes) {
    BookReading reading;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        const std::string_view line = bytes.substr(start, end - start);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            return {{}, "kaputt"};
        }
        reading.entries.push_back(
            {std::string(line.substr(eq + 1)), std::string(line.substr(0, eq))});
        start = end + 1;
    }
    return reading;
}

NameLookup Index(const std::vector<BookReading>& readings, const PhoneBookOptions&) {
    std::map<std::string, std::string, std::less<>> names;
    for (const BookReading& reading : readings) {
        for (const BookEntry& entry : reading.entries) {
            names.emplace(entry.number, entry.name);
        }
    }
    return [names](std::string_view number) -> std::optional<std::string> {
        const auto found = names.find(number);
        return found == names.end() ? std::nullopt : std::optional(found->second);
    };
}

struct Rig {
    fs::path dir =
        fs::temp_directory_path() / ("kw_loader_" + std::to_string(std::random_device{}()));
    test::PostedTasks queue;
    std::vector<LoadedBooks> results;
    std::atomic<int> reads = 0;
    std::optional<BookLoader> loader;

    Rig() {
        fs::create_directories(dir);
        loader.emplace(
            [this](const std::string& path) {
                ++reads;
                return ReadBookFromDisk(path, Lines);
            },
            Index, [this](std::function<void()> task) { queue.post(std::move(task)); },
            [this](const LoadedBooks& books) { results.push_back(books); }, 20ms);
    }
    ~Rig() {
        loader.reset();
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    void put(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    std::vector<std::string> lines() const { return StatusLines(results.back().books); }
};

TEST(BookLoader, ReadsOnItsThreadAndAgainWhenABookOrItsFolderChanges) {
    Rig rig;
    rig.put("a.vcf", "030123=Anna");
    rig.put("b.csv", "unlesbar");
    rig.loader->load({.Dateien = {rig.dir.string(), (rig.dir / "fehlt.xml").string()}});
    ASSERT_TRUE(rig.queue.runOne());
    EXPECT_EQ(rig.lines(),
              (std::vector<std::string>{"a.vcf: 1 Nummer", "b.csv: kaputt",
                                        "fehlt.xml: Die Datei wurde nicht gefunden."}));
    EXPECT_EQ(BookProblems(rig.results.back().books).front(), "Telefonbuch b.csv: kaputt");
    EXPECT_EQ(rig.results.back().lookup("030123"), "Anna");

    // Nothing changed: no reading and no result.
    const int reads = rig.reads;
    EXPECT_FALSE(rig.queue.runOne(100ms));
    EXPECT_EQ(rig.reads, reads);

    rig.put("a.vcf", "030123=Anna Neu\n089=Bert");
    ASSERT_TRUE(rig.queue.runOne());
    EXPECT_EQ(rig.results.back().lookup("089"), "Bert");
    rig.put("c.vcf", "040=Carla");
    ASSERT_TRUE(rig.queue.runOne());
    EXPECT_EQ(rig.results.back().lookup("040"), "Carla");
}

// A result still queued when the loader goes must not reach a receiver that is gone.
TEST(BookLoader, ResultsQueuedForAGoneLoaderAreDropped) {
    Rig rig;
    rig.put("a.vcf", "1=A");
    rig.loader->load({.Dateien = {(rig.dir / "a.vcf").string()}});
    ASSERT_TRUE(rig.queue.waitPosted());
    rig.loader.reset();
    while (rig.queue.runOne(200ms)) {
    }
    EXPECT_TRUE(rig.results.empty());
}

}  // namespace
}  // namespace kw::ui
