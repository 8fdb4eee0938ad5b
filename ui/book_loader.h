#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/book_entry.h"
#include "core/phone_book_options.h"

namespace kw::ui {

// The caller's name for a number, from every book read; absent when no book knows it.
using NameLookup = std::function<std::optional<std::string>(std::string_view number)>;

// How one book did at its last reading.
struct BookStatus {
    std::string name;  // the file's name
    std::size_t numbers = 0;
    std::string error;  // empty when it was read

    friend bool operator==(const BookStatus&, const BookStatus&) = default;
};

// "Privat.vcf: 1234 Nummern", or the reason it could not be read.
std::string StatusLine(const BookStatus& status);
std::vector<std::string> StatusLines(const std::vector<BookStatus>& books);
// For the phone's tooltip: "Telefonbuch <name>: <reason>" for each book that failed.
std::vector<std::string> BookProblems(const std::vector<BookStatus>& books);

struct LoadedBooks {
    NameLookup lookup;  // null while nothing was built
    std::vector<BookStatus> books;
};

// Reads the books on a thread of its own, so that a large or slow book never holds up the
// window, and reads them again within a poll interval after one of them (or a folder's list of
// them) changed. Results reach `loaded` through `post`, on the thread that made the loader.
class BookLoader {
  public:
    using Read = std::function<BookReading(const std::string& path)>;
    using Build =
        std::function<NameLookup(const std::vector<BookReading>&, const PhoneBookOptions&)>;
    // Runs the function later on the UI thread; called from the worker.
    using Post = std::function<void(std::function<void()>)>;
    using Loaded = std::function<void(const LoadedBooks&)>;

    BookLoader(Read read, Build build, Post post, Loaded loaded,
               std::chrono::milliseconds poll = std::chrono::seconds(1));
    ~BookLoader();
    BookLoader(const BookLoader&) = delete;
    BookLoader& operator=(const BookLoader&) = delete;

    // Reads these books from now on, at once.
    void load(PhoneBookOptions options);

  private:
    // What the UI thread's posted results check: a loader gone since drops them.
    struct Receiver {
        bool alive = true;
        Loaded loaded;
    };

    void run();

    Read read_;
    Build build_;
    Post post_;
    std::chrono::milliseconds poll_;
    std::shared_ptr<Receiver> receiver_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<PhoneBookOptions> pending_;  // guarded by mutex_
    unsigned generation_ = 0;                  // guarded by mutex_
    bool stop_ = false;                        // guarded by mutex_
    // Last, so that the worker starts with everything above made.
    std::thread worker_;
};

}  // namespace kw::ui
