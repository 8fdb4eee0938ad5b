#include "core/book_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace kw {

namespace fs = std::filesystem;

namespace {

bool IsBookFile(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".vcf" || extension == ".xml" || extension == ".csv";
}

// Paths are UTF-8 in this program; on Linux the bytes pass through unchanged.
fs::path PathOf(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

BookReading Refused(std::string reason) {
    return BookReading{{}, std::move(reason)};
}

}  // namespace

std::vector<std::string> ExpandBookPaths(const std::vector<std::string>& listed) {
    std::vector<std::string> books;
    for (const std::string& entry : listed) {
        std::error_code ec;
        const fs::path path = PathOf(entry);
        if (!fs::is_directory(path, ec)) {
            books.push_back(entry);
            continue;
        }
        std::vector<std::string> inFolder;
        for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code fileError;
            if (it->is_regular_file(fileError) && IsBookFile(it->path())) {
                inFolder.push_back(Utf8Of(it->path()));
            }
        }
        if (ec) {
            books.push_back(entry);
            continue;
        }
        std::sort(inFolder.begin(), inFolder.end());
        books.insert(books.end(), inFolder.begin(), inFolder.end());
    }
    return books;
}

std::vector<BookStamp> StampBooks(const std::vector<std::string>& paths) {
    std::vector<BookStamp> stamps;
    stamps.reserve(paths.size());
    for (const std::string& path : paths) {
        BookStamp stamp{path};
        std::error_code ec;
        const fs::path file = PathOf(path);
        const auto size = fs::file_size(file, ec);
        if (!ec) {
            stamp.size = size;
        }
        const auto time = fs::last_write_time(file, ec);
        if (!ec) {
            stamp.modified = static_cast<std::int64_t>(time.time_since_epoch().count());
        }
        stamps.push_back(std::move(stamp));
    }
    return stamps;
}

BookReading ReadBookFromDisk(const std::string& path, const BookParser& parse) {
    const fs::path file = PathOf(path);
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        return Refused("Die Datei wurde nicht gefunden.");
    }
    if (fs::is_directory(file, ec)) {
        return Refused("Der Ordner kann nicht gelesen werden.");
    }
    const auto size = fs::file_size(file, ec);
    if (ec) {
        return Refused("Die Datei kann nicht gelesen werden.");
    }
    if (size > kMaxBookFileBytes) {
        return Refused("Die Datei ist größer als 64 MiB und wird nicht gelesen.");
    }
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    // A file that grows meanwhile is read up to the size it had: the next change reads it again.
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!in && !in.eof()) {
        return Refused("Die Datei kann nicht gelesen werden.");
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return parse(Utf8Of(file.filename()), bytes);
}

std::string BookName(std::string_view path) {
    const auto slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace kw
