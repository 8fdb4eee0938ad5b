#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/carddav_sync.h"
#include "platform/dav_client.h"

namespace kw::ui {

// Keeps a local copy of one CardDAV address book, so that its names are there offline and at
// once after a start: synced on a thread of its own when the account is set and every
// `every` after, written as a file the book loader reads like any other book. A failed sync
// keeps the copy and says why.
class CardDavSync {
  public:
    // Made on the sync's thread at its first sync, so that a program without CardDAV never loads
    // what the client needs.
    using MakeClient = std::function<std::unique_ptr<platform::DavClient>()>;
    using Post = std::function<void(std::function<void()>)>;
    // On the thread that made the sync: the reason the last sync failed, or empty.
    using Synced = std::function<void(const std::string& problem)>;

    struct Timing {
        std::chrono::milliseconds every = std::chrono::minutes(15);
        platform::DavLimits limits;
    };

    CardDavSync(MakeClient makeClient, std::string cacheDirectory, Post post, Synced synced,
                Timing timing);
    CardDavSync(MakeClient makeClient, std::string cacheDirectory, Post post, Synced synced)
        : CardDavSync(std::move(makeClient), std::move(cacheDirectory), std::move(post),
                      std::move(synced), Timing{}) {}
    // Cancels a sync under way rather than waiting for a slow server.
    ~CardDavSync();
    CardDavSync(const CardDavSync&) = delete;
    CardDavSync& operator=(const CardDavSync&) = delete;

    // The copy of this account's book, named "CardDAV" for the status lines.
    std::string cacheFile(std::string_view url, std::string_view user) const;

    // Syncs this account from now on, at once; none: no book, and its copies are removed.
    void sync(std::optional<CardDavBook> account);

  private:
    struct Receiver {
        bool alive = true;
        Synced synced;
    };

    void run();
    std::string syncOnce(platform::DavClient& client, const CardDavBook& book);
    void removeCopies(const std::string& except) const;

    MakeClient makeClient_;
    std::string cacheDirectory_;
    Post post_;
    Timing timing_;
    std::shared_ptr<Receiver> receiver_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<std::optional<CardDavBook>> pending_;  // guarded by mutex_
    unsigned generation_ = 0;                            // guarded by mutex_
    bool stop_ = false;                                  // guarded by mutex_
    std::unique_ptr<platform::DavClient> client_;        // guarded by mutex_ once made
    // Last, so that the worker starts with everything above made.
    std::thread worker_;
};

}  // namespace kw::ui
