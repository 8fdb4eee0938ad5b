#pragma once

#include <chrono>
#include <cstddef>
#include <string>

// How the program talks to an address-book server (WebDAV over HTTP or HTTPS). The protocol
// (what to ask, what the answers mean, the German reasons) is the program's own and the same on
// every system; a backend only carries one request and reports what happened.
namespace kw::platform {

struct DavRequest {
    std::string method;  // "PROPFIND" or "REPORT"
    std::string url;     // absolute http:// or https:// address
    std::string depth;   // the Depth header's value; empty: no such header
    std::string body;    // sent as application/xml; charset=utf-8
    std::string user;    // Basic authentication when not empty
    std::string password;
};

// Bounds on one exchange, redirects included. Nothing a server does may hold a sync longer.
struct DavLimits {
    std::size_t maxBytes = 64u * 1024u * 1024u;   // of the reply body
    std::chrono::milliseconds stall{20'000};      // without a byte arriving (connecting included)
    std::chrono::milliseconds deadline{120'000};  // for the whole exchange
};

// Why an exchange gave no reply. Anything the server said, including 401 or 500, is a reply.
enum class DavFault {
    None,
    Unreachable,  // name not found, refused, reset, closed early
    Certificate,  // HTTPS certificate not trusted for this address
    TooLarge,     // the body went past maxBytes
    TooSlow,      // stall or deadline passed
    OtherHost,    // a redirect to another scheme, host or port; never followed
    Cancelled,    // cancel() was called
    Other,        // anything else the system reports
};

struct DavReply {
    DavFault fault = DavFault::None;
    int status = 0;      // the final HTTP status when fault is None
    std::string body;    // the final reply's body when fault is None
    std::string detail;  // the system's own words for the fault, or the refused redirect's target
};

// One client per sync thread. send() blocks its caller until the exchange ends within the
// limits; redirects to the same scheme, host and port are followed (at most 5, the method and
// body kept), others end with OtherHost. Certificates are checked against the system's trust
// store; there is no way around a refused one.
class DavClient {
  public:
    virtual ~DavClient() = default;

    virtual DavReply send(const DavRequest& request, const DavLimits& limits) = 0;

    // From any thread: a send() under way returns Cancelled promptly (within 200 ms), and so
    // does every later one. For ending the program without waiting for a slow server.
    virtual void cancel() = 0;
};

}  // namespace kw::platform
