#pragma once

#include <cstdint>
#include <string>

#include "core/sip_account.h"
#include "platform/call_source.h"
#include "platform/dav_client.h"
#include "platform/secret_store.h"

// What the program loads only when it is used, so that a plain start pays for none of it: each
// module exports one C-style function that makes its object; the caller owns the result.
namespace kw::platform {

inline constexpr char kSipModule[] = "klingelwart-sip.so";
inline constexpr char kMakeSipSource[] = "kw_make_sip_source";
using MakeSipSource = CallSource* (*)(const SipAccount& account, const std::string& password);

inline constexpr char kRouterModule[] = "klingelwart-router.so";
inline constexpr char kMakeRouterSource[] = "kw_make_router_source";
using MakeRouterSource = CallSource* (*)(const std::string& host, std::uint16_t port);

inline constexpr char kSecretsModule[] = "klingelwart-secrets.so";
inline constexpr char kMakeSecretStore[] = "kw_make_secret_store";
using MakeSecretStore = SecretStore* (*)();

inline constexpr char kCardDavModule[] = "klingelwart-carddav.so";
inline constexpr char kMakeDavClient[] = "kw_make_dav_client";
using MakeDavClient = DavClient* (*)();

}  // namespace kw::platform

// Marks the one function a module exports; everything else in it stays hidden.
#define KW_MODULE_ENTRY extern "C" __attribute__((visibility("default")))
