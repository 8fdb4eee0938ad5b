#include "ui/book_loader.h"

#include <utility>

#include "core/book_files.h"

namespace kw::ui {

std::string StatusLine(const BookStatus& status) {
    if (!status.error.empty()) {
        return status.name + ": " + status.error;
    }
    return status.name + ": " + std::to_string(status.numbers) +
           (status.numbers == 1 ? " Nummer" : " Nummern");
}

std::vector<std::string> StatusLines(const std::vector<BookStatus>& books) {
    std::vector<std::string> lines;
    for (const BookStatus& book : books) {
        lines.push_back(StatusLine(book));
    }
    return lines;
}

std::vector<std::string> BookProblems(const std::vector<BookStatus>& books) {
    std::vector<std::string> lines;
    for (const BookStatus& book : books) {
        if (!book.error.empty()) {
            lines.push_back("Telefonbuch " + book.name + ": " + book.error);
        }
    }
    return lines;
}

BookLoader::BookLoader(Read read, Build build, Post post, Loaded loaded,
                       std::chrono::milliseconds poll)
    : read_(std::move(read)),
      build_(std::move(build)),
      post_(std::move(post)),
      poll_(poll),
      receiver_(std::make_shared<Receiver>(Receiver{true, std::move(loaded)})),
      worker_([this] { run(); }) {}

BookLoader::~BookLoader() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    worker_.join();
    receiver_->alive = false;
}

void BookLoader::load(PhoneBookOptions options) {
    {
        const std::lock_guard lock(mutex_);
        pending_ = std::move(options);
        ++generation_;
    }
    wake_.notify_all();
}

void BookLoader::run() {
    unsigned done = 0;
    std::vector<BookStamp> stamps;
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait_for(lock, poll_, [&] { return stop_ || generation_ != done; });
        if (stop_) {
            return;
        }
        if (!pending_) {
            continue;
        }
        const PhoneBookOptions options = *pending_;
        const unsigned generation = generation_;
        lock.unlock();

        // Stamped before reading: a book that changes while it is read is read again next time.
        const std::vector<std::string> paths = ExpandBookPaths(options.Dateien);
        std::vector<BookStamp> now = StampBooks(paths);
        if (generation != done || now != stamps) {
            std::vector<BookReading> readings;
            LoadedBooks result;
            for (const std::string& path : paths) {
                readings.push_back(read_(path));
                const BookReading& reading = readings.back();
                result.books.push_back({BookName(path), reading.entries.size(), reading.error});
            }
            result.lookup = build_(readings, options);
            stamps = std::move(now);
            done = generation;
            post_([receiver = receiver_, result = std::move(result)] {
                if (receiver->alive && receiver->loaded) {
                    receiver->loaded(result);
                }
            });
        }
        lock.lock();
    }
}

}  // namespace kw::ui
