#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/book_entry.h"

namespace kw {

// A book file larger than this is refused before it is read: no address book comes near it,
// and reading it whole would cost that much memory.
inline constexpr std::uintmax_t kMaxBookFileBytes = 64u * 1024u * 1024u;

// The books the user's list names: a file stands for itself, a folder for every .vcf, .xml and
// .csv file directly in it (not below), in name order. A folder that cannot be listed stands for
// itself, so that its reading reports why.
std::vector<std::string> ExpandBookPaths(const std::vector<std::string>& listed);

// What a book file looks like from outside; a change of it means the book must be read again.
struct BookStamp {
    std::string path;
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // in the file system's own ticks; 0 when the file is missing

    friend bool operator==(const BookStamp&, const BookStamp&) = default;
};
std::vector<BookStamp> StampBooks(const std::vector<std::string>& paths);

// Turns the bytes of one book into its entries; the name tells the format.
using BookParser = std::function<BookReading(std::string_view fileName, std::string_view bytes)>;

// Reads one book file within kMaxBookFileBytes and hands its bytes to `parse`; a file that cannot
// be read gives a German reason instead.
BookReading ReadBookFromDisk(const std::string& path, const BookParser& parse);

// The name the user knows the book by: the file's name without its folder.
std::string BookName(std::string_view path);

}  // namespace kw
