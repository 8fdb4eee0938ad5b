#pragma once

#include <chrono>
#include <string>

#include "core/sip_account.h"

namespace kw {

// The German status lines of the SIP source, "SIP 4711@pbx.example: ...".
std::string SipRegistering(const SipAccount& account);
std::string SipRegistered(const SipAccount& account);
std::string SipRejected(const SipAccount& account, int statusCode);
// The wait is shown in whole seconds, rounded up, as chosen; it does not count down.
std::string SipUnreachable(const SipAccount& account, std::chrono::milliseconds wait);
// Registered, but the registrar has stopped answering; the source registers again once it does.
std::string SipNoAnswer(const SipAccount& account);
// With TLS: the registrar's certificate is not trusted, or not the one the user trusted; no
// password is sent. Named by its SHA-256 fingerprint, so that the user can compare and trust it.
std::string SipUntrustedCertificate(const SipAccount& account, const std::string& fingerprint);
std::string SipChangedCertificate(const SipAccount& account, const std::string& fingerprint);
// The local SIP port could not be opened; nothing to retry until the setting changes.
std::string SipNoLocalPort(const SipAccount& account);
// The password store gave no password; `why` says what it said.
std::string SipNoPassword(const SipAccount& account, const std::string& why);
// The SIP support could not be loaded; `why` says what the system said.
std::string SipUnavailable(const SipAccount& account, const std::string& why);
// Without user or server there is nothing to register.
std::string SipIncomplete();

}  // namespace kw
