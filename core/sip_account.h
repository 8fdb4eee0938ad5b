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
};

}  // namespace kw
