#pragma once

#include <string>

namespace kw {

enum class SipTransport { Udp, Tcp, Tls };

// The SIP account Klingelwart registers as one more device of the user's number. The password
// travels separately, straight from the password store to the source.
struct SipAccount {
    // "pbx.example" or "pbx.example:5070".
    std::string server;
    std::string user;
    // Empty: the user name authenticates.
    std::string authName;
    SipTransport transport = SipTransport::Udp;
    // With TLS: the SHA-256 fingerprint of the one certificate trusted for this registrar
    // although no certificate authority vouches for it, as a small office's telephone system's
    // own. Empty: the system's authorities and the server name decide.
    std::string certificate;
};

}  // namespace kw
