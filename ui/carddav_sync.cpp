#include "ui/carddav_sync.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>
#include <vector>

#include "core/book_files.h"

namespace kw::ui {

namespace {

namespace fs = std::filesystem;

constexpr char kCopyName[] = "CardDAV";
constexpr std::string_view kCopyPrefix = "carddav-";

fs::path PathOf(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// The last copy, or empty when there is none to compare with.
std::string ReadCopy(const fs::path& file) {
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error || size > kMaxBookFileBytes) {
        return {};
    }
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Written beside and renamed over the copy, so that the book loader never reads half of it.
bool WriteCopy(const fs::path& file, const std::string& bytes) {
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    const fs::path part = fs::path(file).concat(".neu");
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            fs::remove(part, error);
            return false;
        }
    }
    fs::rename(part, file, error);
    if (error) {
        fs::remove(part, error);
        return false;
    }
    return true;
}

}  // namespace

CardDavSync::CardDavSync(MakeClient makeClient, std::string cacheDirectory, Post post,
                         Synced synced, Timing timing)
    : makeClient_(std::move(makeClient)),
      cacheDirectory_(std::move(cacheDirectory)),
      post_(std::move(post)),
      timing_(timing),
      receiver_(std::make_shared<Receiver>(Receiver{true, std::move(synced)})),
      worker_([this] { run(); }) {}

CardDavSync::~CardDavSync() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        if (client_) {
            client_->cancel();
        }
    }
    wake_.notify_all();
    worker_.join();
    receiver_->alive = false;
}

std::string CardDavSync::cacheFile(std::string_view url, std::string_view user) const {
    return cacheDirectory_ + "/" + CardDavCacheName(url, user) + "/" + kCopyName;
}

void CardDavSync::sync(std::optional<CardDavBook> account) {
    {
        const std::lock_guard lock(mutex_);
        pending_ = std::move(account);
        ++generation_;
    }
    wake_.notify_all();
}

void CardDavSync::run() {
    unsigned done = 0;
    std::optional<CardDavBook> account;
    bool scheduled = false;
    auto due = std::chrono::steady_clock::now();
    std::unique_lock lock(mutex_);
    while (true) {
        const auto woken = [&] { return stop_ || generation_ != done; };
        if (scheduled) {
            wake_.wait_until(lock, due, woken);
        } else {
            wake_.wait(lock, woken);
        }
        if (stop_) {
            return;
        }
        if (generation_ != done) {
            account = *pending_;
            done = generation_;
        } else if (!scheduled || std::chrono::steady_clock::now() < due) {
            continue;
        }
        scheduled = false;
        if (!account) {
            lock.unlock();
            removeCopies({});
            lock.lock();
            continue;
        }
        if (!client_) {
            lock.unlock();
            auto made = makeClient_();
            lock.lock();
            client_ = std::move(made);
            if (stop_) {
                return;
            }
        }
        platform::DavClient& client = *client_;
        lock.unlock();
        std::string problem = syncOnce(client, *account);
        post_([receiver = receiver_, problem = std::move(problem)] {
            if (receiver->alive && receiver->synced) {
                receiver->synced(problem);
            }
        });
        lock.lock();
        scheduled = true;
        due = std::chrono::steady_clock::now() + timing_.every;
    }
}

std::string CardDavSync::syncOnce(platform::DavClient& client, const CardDavBook& book) {
    const std::string file = cacheFile(book.url, book.user);
    const fs::path path = PathOf(file);
    CardDavOutcome outcome = SyncCardDav(client, book, ReadCopy(path), timing_.limits);
    if (outcome.cards && !WriteCopy(path, *outcome.cards)) {
        return "Kopie des Adressbuchs nicht speicherbar in " + cacheDirectory_;
    }
    if (outcome.problem.empty()) {
        removeCopies(CardDavCacheName(book.url, book.user));
    }
    return outcome.problem;
}

void CardDavSync::removeCopies(const std::string& except) const {
    std::vector<fs::path> gone;
    std::error_code error;
    for (fs::directory_iterator it(PathOf(cacheDirectory_), error), end; !error && it != end;
         it.increment(error)) {
        const std::u8string name = it->path().filename().u8string();
        const std::string utf8(name.begin(), name.end());
        if (utf8.starts_with(kCopyPrefix) && utf8 != except) {
            gone.push_back(it->path());
        }
    }
    for (const fs::path& path : gone) {
        fs::remove_all(path, error);
    }
}

}  // namespace kw::ui
