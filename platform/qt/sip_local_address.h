#pragma once

#include <string>

namespace kw::qt {

// "pbx.example:5070" -> {"pbx.example", "5070"}; "[fd00::5]" and "fd00::5" -> {"fd00::5", ""}.
struct SipHostPort {
    std::string host;
    std::string port;  // empty when none is given
};
SipHostPort SplitSipServer(const std::string& server);

// "192.168.1.10" or "fd00::5" rather than a name.
bool IsIpAddress(const std::string& host);

// The address of this machine's interface that routes to `server` ("pbx.example",
// "10.0.0.5:5070", "[fd00::5]:5060"), as a SIP URL host ("192.168.1.20", "[fd00::2]"); "*" when
// the server cannot be resolved. The registrar has to reach that address for calls, so it is the
// one to listen on and to name in Via and Contact.
std::string SipLocalAddressFor(const std::string& server);

}  // namespace kw::qt
