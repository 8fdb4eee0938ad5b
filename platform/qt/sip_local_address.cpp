#include "platform/qt/sip_local_address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <memory>

#include "platform/posix/unique_fd.h"

namespace kw::qt {

SipHostPort SplitSipServer(const std::string& server) {
    if (server.starts_with('[')) {
        const auto end = server.find(']');
        if (end == std::string::npos) {
            return {server.substr(1), {}};
        }
        const bool port = end + 1 < server.size() && server[end + 1] == ':';
        return {server.substr(1, end - 1), port ? server.substr(end + 2) : std::string()};
    }
    const auto colon = server.find(':');
    // Two colons: a bare IPv6 address without a port.
    if (colon == std::string::npos || server.find(':', colon + 1) != std::string::npos) {
        return {server, {}};
    }
    return {server.substr(0, colon), server.substr(colon + 1)};
}

bool IsIpAddress(const std::string& host) {
    unsigned char buffer[sizeof(in6_addr)];
    return ::inet_pton(AF_INET, host.c_str(), buffer) == 1 ||
           ::inet_pton(AF_INET6, host.c_str(), buffer) == 1;
}

std::string SipLocalAddressFor(const std::string& server) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    // The port does not change the route; connecting a UDP socket sends nothing.
    if (::getaddrinfo(SplitSipServer(server).host.c_str(), "5060", &hints, &found) != 0) {
        return "*";
    }
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> list(found, &::freeaddrinfo);
    for (const addrinfo* address = found; address != nullptr; address = address->ai_next) {
        const posix::UniqueFd socket(::socket(address->ai_family, SOCK_DGRAM | SOCK_CLOEXEC, 0));
        sockaddr_storage local{};
        socklen_t length = sizeof local;
        char host[NI_MAXHOST] = {};
        if (!socket || ::connect(socket.get(), address->ai_addr, address->ai_addrlen) != 0 ||
            ::getsockname(socket.get(), reinterpret_cast<sockaddr*>(&local), &length) != 0 ||
            ::getnameinfo(reinterpret_cast<sockaddr*>(&local), length, host, sizeof host, nullptr,
                          0, NI_NUMERICHOST) != 0) {
            continue;
        }
        return local.ss_family == AF_INET6 ? "[" + std::string(host) + "]" : std::string(host);
    }
    return "*";
}

}  // namespace kw::qt
