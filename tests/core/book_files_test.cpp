#include "core/book_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace kw {
namespace {

namespace fs = std::filesystem;

struct Folder {
    fs::path path =
        fs::temp_directory_path() / ("kw_books_" + std::to_string(std::random_device{}()));
    Folder() { fs::create_directories(path); }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string put(const std::string& name, const std::string& bytes) const {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return (path / name).string();
    }
};

BookReading Echo(std::string_view name, std::string_view bytes) {
    return {{{std::string(name), std::string(bytes)}}, {}};
}

TEST(BookFiles, AFolderStandsForItsBooksInNameOrderAndNotBelow) {
    Folder folder;
    for (const char* name : {"b.vcf", "A.CSV", "c.xml", "notiz.txt", "d.vcf~"}) {
        folder.put(name, "x");
    }
    fs::create_directories(folder.path / "unter.vcf");
    folder.put("unter.vcf/e.vcf", "x");
    const std::string base = folder.path.string();
    const auto books = ExpandBookPaths({base + "/c.xml", base, base + "/fehlt.vcf"});
    const std::vector<std::string> expected{base + "/c.xml", (folder.path / "A.CSV").string(),
                                            (folder.path / "b.vcf").string(),
                                            (folder.path / "c.xml").string(), base + "/fehlt.vcf"};
    EXPECT_EQ(books, expected);
}

TEST(BookFiles, WhatCannotBeReadGivesAReasonAndNoEntries) {
    Folder folder;
    const std::string big = folder.put("gross.vcf", "");
    fs::resize_file(big, kMaxBookFileBytes + 1);  // sparse: costs no disk
    const struct {
        std::string path;
        std::string error;
    } cases[] = {
        {(folder.path / "fehlt.vcf").string(), "Die Datei wurde nicht gefunden."},
        {folder.path.string(), "Der Ordner kann nicht gelesen werden."},
        {big, "Die Datei ist größer als 64 MiB und wird nicht gelesen."},
        {folder.put("leer.csv", ""), ""},
    };
    for (const auto& c : cases) {
        const BookReading reading = ReadBookFromDisk(c.path, Echo);
        EXPECT_EQ(reading.error, c.error) << c.path;
        EXPECT_EQ(reading.entries.size(), c.error.empty() ? 1u : 0u) << c.path;
    }
    EXPECT_EQ(ReadBookFromDisk(folder.put("a.vcf", "BEGIN"), Echo).entries,
              (std::vector<BookEntry>{{"a.vcf", "BEGIN"}}));
}

}  // namespace
}  // namespace kw
