#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/sip_account.h"
#include "platform/call_source.h"
#include "platform/dav_client.h"
#include "platform/posix/shared_module.h"

namespace kw::app {

// The call sources whose libraries only a switched-on source should pay for, made by their
// modules from `directories`. A module that does not load gives a source that says why.
std::unique_ptr<platform::CallSource> LoadSipSource(
    const SipAccount& account, const std::string& password,
    const std::vector<std::string>& directories = posix::ModuleDirectories());
std::unique_ptr<platform::CallSource> LoadRouterSource(
    const std::string& host, std::uint16_t port,
    const std::vector<std::string>& directories = posix::ModuleDirectories());

// The address-book client, never null: without its module every exchange ends with
// DavFault::Other and the loader's words for why.
std::unique_ptr<platform::DavClient> LoadDavClient(
    const std::vector<std::string>& directories = posix::ModuleDirectories());

}  // namespace kw::app
