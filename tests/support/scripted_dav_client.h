#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/dav_client.h"

namespace kw::test {

// Gives the replies it was handed, in order, and keeps the requests; with none left it blocks
// until cancelled, like a server that never answers.
class ScriptedDavClient : public platform::DavClient {
  public:
    explicit ScriptedDavClient(std::deque<platform::DavReply> replies = {})
        : replies_(std::move(replies)) {}

    platform::DavReply send(const platform::DavRequest& request,
                            const platform::DavLimits&) override {
        std::unique_lock lock(mutex_);
        requests.push_back(request);
        changed_.wait(lock, [this] { return cancelled_ || !replies_.empty(); });
        if (cancelled_) {
            return {platform::DavFault::Cancelled, 0, {}, {}};
        }
        platform::DavReply reply = std::move(replies_.front());
        replies_.pop_front();
        return reply;
    }

    void cancel() override {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
        changed_.notify_all();
    }

    void add(platform::DavReply reply) {
        const std::lock_guard lock(mutex_);
        replies_.push_back(std::move(reply));
        changed_.notify_all();
    }

    std::vector<platform::DavRequest> requests;  // read it only once the sends are done

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<platform::DavReply> replies_;
    bool cancelled_ = false;
};

}  // namespace kw::test
