#include "core/sip_status.h"

namespace kw {

namespace {

std::string Prefix(const SipAccount& account) {
    return "SIP " + account.user + "@" + account.server + ": ";
}

}  // namespace

std::string SipRegistering(const SipAccount& account) {
    return Prefix(account) + "Anmeldung läuft";
}

std::string SipRegistered(const SipAccount& account) {
    return Prefix(account) + "angemeldet";
}

std::string SipRejected(const SipAccount& account, int statusCode) {
    return Prefix(account) + "Anmeldung abgelehnt (" + std::to_string(statusCode) + ")";
}

std::string SipUnreachable(const SipAccount& account, std::chrono::milliseconds wait) {
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(wait).count();
    return Prefix(account) + "nicht erreichbar, neuer Versuch in " + std::to_string(seconds) + " s";
}

std::string SipNoAnswer(const SipAccount& account) {
    return Prefix(account) + "Telefonanlage antwortet nicht";
}

std::string SipUntrustedCertificate(const SipAccount& account, const std::string& fingerprint) {
    return Prefix(account) + "Zertifikat nicht vertrauenswürdig (SHA-256 " + fingerprint + ")";
}

std::string SipChangedCertificate(const SipAccount& account, const std::string& fingerprint) {
    return Prefix(account) + "Zertifikat geändert, nicht vertrauenswürdig (SHA-256 " + fingerprint +
           ")";
}

std::string SipNoLocalPort(const SipAccount& account) {
    return Prefix(account) + "kein SIP-Port frei";
}

std::string SipNoPassword(const SipAccount& account, const std::string& why) {
    return Prefix(account) + "kein Passwort (" + why + ")";
}

std::string SipUnavailable(const SipAccount& account, const std::string& why) {
    return Prefix(account) + "nicht verfügbar (" + why + ")";
}

std::string SipIncomplete() {
    return "SIP: Benutzer oder Server fehlt";
}

}  // namespace kw
