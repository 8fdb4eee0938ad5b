#include "platform/qt/sip_peer_certificate.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

#include "core/sip_fingerprint.h"
#include "platform/posix/unique_fd.h"
#include "platform/qt/sip_local_address.h"

namespace kw::qt {

namespace {

template <auto Free>
struct Freeing {
    template <typename T>
    void operator()(T* handle) const {
        Free(handle);
    }
};
using Context = std::unique_ptr<SSL_CTX, Freeing<&SSL_CTX_free>>;
using Session = std::unique_ptr<SSL, Freeing<&SSL_free>>;
using Certificate = std::unique_ptr<X509, Freeing<&X509_free>>;
using Memory = std::unique_ptr<BIO, Freeing<&BIO_free>>;

posix::UniqueFd Connect(const SipHostPort& where, std::chrono::milliseconds timeout) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string port = where.port.empty() ? "5061" : where.port;
    if (::getaddrinfo(where.host.c_str(), port.c_str(), &hints, &found) != 0) {
        return {};
    }
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> list(found, &::freeaddrinfo);
    timeval limit{};
    limit.tv_sec = static_cast<time_t>(timeout.count() / 1000);
    limit.tv_usec = static_cast<suseconds_t>(timeout.count() % 1000 * 1000);
    for (const addrinfo* address = found; address != nullptr; address = address->ai_next) {
        posix::UniqueFd socket(::socket(address->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0));
        // Bounds connect, the handshake's reads and its writes alike.
        if (socket &&
            ::setsockopt(socket.get(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) == 0 &&
            ::setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) == 0 &&
            ::connect(socket.get(), address->ai_addr, address->ai_addrlen) == 0) {
            return socket;
        }
    }
    return {};
}

std::string Pem(X509* certificate) {
    const Memory memory(BIO_new(BIO_s_mem()));
    if (!memory || PEM_write_bio_X509(memory.get(), certificate) != 1) {
        return {};
    }
    char* data = nullptr;
    const long length = BIO_get_mem_data(memory.get(), &data);
    return length > 0 ? std::string(data, static_cast<std::size_t>(length)) : std::string();
}

}  // namespace

SipPeerCertificate FetchSipPeerCertificate(const std::string& server,
                                           std::chrono::milliseconds timeout) {
    const SipHostPort where = SplitSipServer(server);
    const posix::UniqueFd socket = Connect(where, timeout);
    const Context context(SSL_CTX_new(TLS_client_method()));
    if (!socket || !context || SSL_CTX_set_default_verify_paths(context.get()) != 1) {
        return {};
    }
    const Session session(SSL_new(context.get()));
    if (!session || SSL_set_fd(session.get(), socket.get()) != 1) {
        return {};
    }
    X509_VERIFY_PARAM* check = SSL_get0_param(session.get());
    if (IsIpAddress(where.host)) {
        X509_VERIFY_PARAM_set1_ip_asc(check, where.host.c_str());
    } else {
        X509_VERIFY_PARAM_set1_host(check, where.host.c_str(), 0);
        SSL_set_tlsext_host_name(session.get(), where.host.c_str());
    }
    // Not verified here: what failed is looked at below, and the certificate is wanted anyway.
    SSL_set_verify(session.get(), SSL_VERIFY_NONE, nullptr);
    if (SSL_connect(session.get()) != 1) {
        return {};
    }
    const Certificate certificate(SSL_get1_peer_certificate(session.get()));
    if (!certificate) {
        return {};
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (X509_digest(certificate.get(), EVP_sha256(), digest, &length) != 1) {
        return {};
    }
    return {true, SSL_get_verify_result(session.get()) == X509_V_OK,
            FormatSipFingerprint({digest, length}), Pem(certificate.get())};
}

}  // namespace kw::qt
