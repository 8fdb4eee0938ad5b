#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/lazy_secret_store.h"
#include "app/module_sources.h"
#include "core/error_numbers.h"

namespace kw::app {
namespace {

std::optional<platform::CallSourceStatus> FirstStatus(platform::CallSource& source) {
    std::optional<platform::CallSourceStatus> first;
    source.start([](std::string_view, std::string_view) {},
                 [&first](const platform::CallSourceStatus& status) {
                     if (!first) {
                         first = status;
                     }
                 });
    return first;
}

// Without their modules the sources say so in their own status line and the program runs on.
TEST(ModuleSourcesTest, MissingModuleIsTheSourcesStatus) {
    const std::vector<std::string> nowhere = {"/nirgends"};
    const SipAccount account{"pbx.example", "4711", "", SipTransport::Udp};
    struct Case {
        std::unique_ptr<platform::CallSource> source;
        std::string status;
    };
    Case cases[] = {
        {LoadSipSource(account, "geheim", nowhere),
         "SIP 4711@pbx.example: nicht verfügbar (klingelwart-sip.so nicht gefunden)"},
        {LoadRouterSource("fd00::1", 1012, nowhere),
         "Anrufmonitor [fd00::1]:1012: nicht verfügbar (klingelwart-router.so nicht gefunden)"},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.status);
        EXPECT_EQ(FirstStatus(*c.source), (platform::CallSourceStatus{false, c.status}));
    }
}

TEST(ModuleSourcesTest, MissingSecretModuleFailsEveryCall) {
    LazySecretStore store({"/nirgends"});
    const Failure missing{
        error::kFileNotFound,
        "Passwortspeicher nicht verfügbar (klingelwart-secrets.so nicht gefunden)"};
    const platform::SecretAccount account{"pbx.example", "4711"};
    EXPECT_EQ(store.available(), missing);
    auto read = store.read(account);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.failure(), missing);
    EXPECT_EQ(store.store(account, "geheim"), missing);
    EXPECT_EQ(store.erase(account), missing);
}

// The real client comes from beside the program; without it every exchange says why.
TEST(ModuleSourcesTest, DavClientFromItsModuleOrWhyNot) {
    const platform::DavRequest ftp{"PROPFIND", "ftp://127.0.0.1/"};
    struct Case {
        std::vector<std::string> directories;
        std::string detail;
    };
    const Case cases[] = {
        {{KW_MODULE_DIR}, "Protocol \"ftp\" is unknown"},
        {{"/nirgends"}, "klingelwart-carddav.so nicht gefunden"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.detail);
        const platform::DavReply reply = LoadDavClient(c.directories)->send(ftp, {});
        EXPECT_EQ(reply.fault, platform::DavFault::Other);
        EXPECT_EQ(reply.detail, c.detail);
    }
}

}  // namespace
}  // namespace kw::app
