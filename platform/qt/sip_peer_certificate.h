#pragma once

#include <chrono>
#include <string>

namespace kw::qt {

// What a registrar shows in a TLS handshake of our own, made before the SIP stack's: the stack
// only says that it could not connect, not what it was offered.
struct SipPeerCertificate {
    // The handshake completed and the registrar showed a certificate.
    bool shown = false;
    // Issued by an authority of the system's store, for the name or address dialled.
    bool trustedForName = false;
    // SHA-256 of the certificate, "AB:CD:...".
    std::string fingerprint;
    // The certificate itself, for the stack to trust exactly it.
    std::string pem;
};

// `server` as in the account, "pbx.example" or "pbx.example:5062"; without a port, 5061.
SipPeerCertificate FetchSipPeerCertificate(const std::string& server,
                                           std::chrono::milliseconds timeout);

}  // namespace kw::qt
