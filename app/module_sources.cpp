#include "app/module_sources.h"

#include <utility>

#include "core/call_monitor_status.h"
#include "core/sip_status.h"
#include "platform/posix/module_entries.h"
#include "platform/refused_dav_client.h"
#include "platform/refused_source.h"

namespace kw::app {

namespace {

// Keeps the module with what it made, and lets the source go first.
class ModuleSource final : public platform::CallSource {
  public:
    ModuleSource(posix::SharedModule module, platform::CallSource* source)
        : module_(std::move(module)), source_(source) {}

    void start(CallHandler onCall, StatusHandler onStatus) override {
        source_->start(std::move(onCall), std::move(onStatus));
    }

  private:
    posix::SharedModule module_;
    std::unique_ptr<platform::CallSource> source_;
};

// The same for the address-book client.
class ModuleDavClient final : public platform::DavClient {
  public:
    ModuleDavClient(posix::SharedModule module, platform::DavClient* client)
        : module_(std::move(module)), client_(client) {}

    platform::DavReply send(const platform::DavRequest& request,
                            const platform::DavLimits& limits) override {
        return client_->send(request, limits);
    }
    void cancel() override { client_->cancel(); }

  private:
    posix::SharedModule module_;
    std::unique_ptr<platform::DavClient> client_;
};

// The source `Make` makes from `arguments`, or one that only reports `refusal` of why not.
template <class Make, class Refusal, class... Arguments>
std::unique_ptr<platform::CallSource> Load(const char* fileName, const char* entry,
                                           const std::vector<std::string>& directories,
                                           const Refusal& refusal, const Arguments&... arguments) {
    auto made = posix::OpenEntry<Make>(fileName, entry, directories);
    if (!made.ok()) {
        return std::make_unique<platform::RefusedSource>(refusal(made.failure().description));
    }
    auto& [module, make] = made.value();
    return std::make_unique<ModuleSource>(std::move(module), make(arguments...));
}

}  // namespace

std::unique_ptr<platform::CallSource> LoadSipSource(const SipAccount& account,
                                                    const std::string& password,
                                                    const std::vector<std::string>& directories) {
    return Load<platform::MakeSipSource>(
        platform::kSipModule, platform::kMakeSipSource, directories,
        [&account](const std::string& why) { return SipUnavailable(account, why); }, account,
        password);
}

std::unique_ptr<platform::CallSource> LoadRouterSource(
    const std::string& host, std::uint16_t port, const std::vector<std::string>& directories) {
    return Load<platform::MakeRouterSource>(
        platform::kRouterModule, platform::kMakeRouterSource, directories,
        [&](const std::string& why) { return CallMonitorUnavailable(host, port, why); }, host,
        port);
}

std::unique_ptr<platform::DavClient> LoadDavClient(const std::vector<std::string>& directories) {
    auto made = posix::OpenEntry<platform::MakeDavClient>(platform::kCardDavModule,
                                                          platform::kMakeDavClient, directories);
    if (!made.ok()) {
        return std::make_unique<platform::RefusedDavClient>(made.failure().description);
    }
    auto& [module, make] = made.value();
    return std::make_unique<ModuleDavClient>(std::move(module), make());
}

}  // namespace kw::app
