#include "platform/qt/sip_stack.h"

#include <malloc.h>
#include <netdb.h>
#include <sys/socket.h>

#include <sofia-sip/msg_header.h>
#include <sofia-sip/nta_tag.h>
#include <sofia-sip/nua.h>
#include <sofia-sip/sip_extra.h>
#include <sofia-sip/sip_header.h>
#include <sofia-sip/sip_status.h>
#include <sofia-sip/su_log.h>
#include <sofia-sip/su_tag_io.h>
#include <sofia-sip/su_wait.h>
#include <sofia-sip/tport_tag.h>

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string_view>

#include "core/ascii.h"
#include "core/retry_schedule.h"
#include "core/sip_fingerprint.h"
#include "core/sip_identity.h"
#include "core/sip_reason.h"
#include "core/sip_status.h"
#include "platform/posix/unique_fd.h"
#include "platform/qt/sip_local_address.h"
#include "platform/qt/sip_peer_certificate.h"
#include "platform/qt/sip_trust_directory.h"

namespace kw::qt {

namespace {

// Calls that ring at once; beyond that the oldest stops ringing here, so a flood of INVITEs
// that are never cancelled cannot hold memory.
constexpr std::size_t kMostRinging = 32;
// A Call-ID longer than this is forged or broken; it still tells the call apart.
constexpr std::size_t kMostCallIdBytes = 256;

// While the registrar is silent it is asked at least this often, so that the source registers
// again soon after it is back; a telephone system may have forgotten the binding on restart.
constexpr std::chrono::milliseconds kAskWhileSilent = std::chrono::seconds(5);

// After requests were let go, the memory they held is handed back to the system this often for a
// while: freed, it stays with the thread's heap, and a flood of INVITEs would leave the process
// tens of MiB larger for good. The library frees a transaction up to half a minute after its end.
constexpr std::chrono::seconds kTrimEvery(10);
constexpr std::chrono::seconds kTrimFor(45);

// How long our own look at a registrar's certificate may take.
constexpr std::chrono::milliseconds kHandshakeWait = std::chrono::seconds(5);

// How long the farewell to the registrar may take; the window does not wait for it.
constexpr su_duration_t kFarewellMs = 2000;

struct RootDeleter {
    void operator()(su_root_t* root) const { su_root_destroy(root); }
};
struct TimerDeleter {
    void operator()(su_timer_t* timer) const { su_timer_destroy(timer); }
};
struct ClassesDeleter {
    void operator()(msg_mclass_t* classes) const { std::free(classes); }
};
using Root = std::unique_ptr<su_root_t, RootDeleter>;
using MessageClasses = std::unique_ptr<msg_mclass_t, ClassesDeleter>;
using Timer = std::unique_ptr<su_timer_t, TimerDeleter>;

// The sofia library's own process-wide set-up, for the lifetime of one stack.
class SofiaLibrary {
  public:
    SofiaLibrary() {
        su_init();
        // The stack's chatter stays off the program's terminal unless SOFIA_DEBUG asks for it.
        if (std::getenv("SOFIA_DEBUG") == nullptr) {
            su_log_redirect(su_log_default, &Silent, nullptr);
        }
    }
    ~SofiaLibrary() { su_deinit(); }
    SofiaLibrary(const SofiaLibrary&) = delete;
    SofiaLibrary& operator=(const SofiaLibrary&) = delete;

  private:
    static void Silent(void* /*stream*/, const char* /*format*/, va_list /*arguments*/) {}
};

std::string_view Scheme(SipTransport transport) {
    return transport == SipTransport::Tls ? "sips:" : "sip:";
}

std::string TransportParameter(SipTransport transport) {
    switch (transport) {
        case SipTransport::Udp:
            return ";transport=udp";
        case SipTransport::Tcp:
            return ";transport=tcp";
        case SipTransport::Tls:
            break;
    }
    return {};
}

// nua_create keeps a little memory when it cannot listen, so a taken port is found out first.
bool PortFree(const std::string& host, std::uint16_t port, SipTransport transport) {
    if (port == 0) {
        return true;
    }
    addrinfo hints{};
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    hints.ai_socktype = transport == SipTransport::Udp ? SOCK_DGRAM : SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (::getaddrinfo(host == "*" ? nullptr : host.c_str(), service.c_str(), &hints, &found) != 0) {
        return true;  // the stack says what is wrong with the address
    }
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> list(found, &::freeaddrinfo);
    for (const addrinfo* address = found; address != nullptr; address = address->ai_next) {
        const posix::UniqueFd socket(
            ::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, 0));
        const int on = 1;
        if (socket && (::setsockopt(socket.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
                       ::bind(socket.get(), address->ai_addr, address->ai_addrlen) != 0)) {
            return false;
        }
    }
    return true;
}

SipAddress AddressOf(const url_t* url) {
    if (url == nullptr) {
        return {};
    }
    const char* host = url->url_host ? url->url_host : "";
    if (url->url_user != nullptr) {
        return {url->url_user, host};
    }
    // Depending on its form, a tel: URI's number may be parsed as the host.
    return {url->url_type == url_tel ? host : "", {}};
}

bool PrivacyRequested(const sip_t* sip) {
    if (sip->sip_privacy == nullptr || sip->sip_privacy->priv_values == nullptr) {
        return false;
    }
    for (const msg_param_t* value = sip->sip_privacy->priv_values; *value != nullptr; ++value) {
        const std::string_view word(*value);
        for (const std::string_view hidden : {"id", "user", "header"}) {
            if (SameAsciiLetters(word, hidden)) {
                return true;
            }
        }
    }
    return false;
}

class Agent {
  public:
    Agent(const SipAccount& account, const std::string& password, const SipStackOptions& options,
          const SipStack::Handlers& handlers)
        : account_(account),
          password_(password),
          options_(options),
          handlers_(handlers),
          schedule_(options.firstRetry, options.longestRetry) {}

    Agent(const Agent&) = delete;
    Agent& operator=(const Agent&) = delete;

    void run(const std::atomic<bool>& stop) {
        // Makes P-Asserted-Identity a parsed header rather than an unknown one.
        MessageClasses classes(sip_extend_mclass(nullptr));
        Root root(su_root_create(this));
        if (!root) {
            handlers_.status({false, SipNoLocalPort(account_)});
            return;
        }
        root_ = root.get();
        timer_ = Timer(su_timer_create(su_root_task(root_), 0));
        probeTimer_ = Timer(su_timer_create(su_root_task(root_), 0));
        const std::string port = options_.localPort == 0 ? "*" : std::to_string(options_.localPort);
        // Not "*": the library would pick one address for Via and Contact, not necessarily one
        // the registrar reaches (none at all on a machine with only loopback).
        const std::string host =
            options_.localHost == "*" ? SipLocalAddressFor(account_.server) : options_.localHost;
        const std::string local = std::string(Scheme(account_.transport)) + host + ":" + port +
                                  TransportParameter(account_.transport);
        const std::string self = std::string(Scheme(account_.transport)) +
                                 EscapeSipUser(account_.user) + "@" + account_.server;
        std::optional<SipTrustDirectory> trust;
        if (account_.transport == SipTransport::Tls) {
            const std::optional<std::string> pem = trustedCertificate(stop);
            if (!pem) {
                timer_.reset();
                probeTimer_.reset();
                return;
            }
            trust.emplace(*pem);
        }
        // Without a directory of its own the library would trust any certificate.
        const bool verifies = trust && !trust->path().empty();
        // The library compares a server's name with the certificate's, but knows no addresses in
        // it: for a server given by address only the check before connecting looks at the name.
        const bool byName = !IsIpAddress(SplitSipServer(account_.server).host);
        const unsigned policy =
            verifies && (trust->pinned() || !byName) ? TPTLS_VERIFY_OUT : TPTLS_VERIFY_SUBJECTS_OUT;
        if ((!trust || verifies) && PortFree(host, options_.localPort, account_.transport)) {
            nua_ = nua_create(
                root_, &Agent::Event, this, NUTAG_URL(local.c_str()),
                TAG_IF(verifies, TPTAG_CERTIFICATE(verifies ? trust->path().c_str() : nullptr)),
                TAG_IF(verifies, TPTAG_TLS_VERIFY_POLICY(policy)), SIPTAG_FROM_STR(self.c_str()),
                NTATAG_MCLASS(classes.get()), NUTAG_MEDIA_ENABLE(0), NUTAG_AUTOALERT(0),
                NUTAG_AUTOANSWER(0), NUTAG_ENABLEMESSAGE(0),
                NTATAG_SIP_T1X64(static_cast<unsigned>(options_.giveUpAfter.count())), TAG_NULL());
        }
        if (nua_ == nullptr) {
            handlers_.status({false, SipNoLocalPort(account_)});
            timer_.reset();
            probeTimer_.reset();
            while (!stop) {
                su_root_step(root_, 100);
            }
            return;
        }
        registerNow();
        while (!stop) {
            su_root_step(root_, 100);
            trimAfterRequests();
        }
        shutDown();
        timer_.reset();
        probeTimer_.reset();
        if (nua_ == nullptr) {
            return;
        }
        // Still waiting for the registrar: the stack cannot be freed safely, so it is left.
        (void)root.release();
        (void)classes.release();
    }

  private:
    static void Event(nua_event_t event, int status, const char* /*phrase*/, nua_t* /*nua*/,
                      nua_magic_t* magic, nua_handle_t* handle, nua_hmagic_t* /*hmagic*/,
                      const sip_t* sip, tagi_t tags[]) {
        static_cast<Agent*>(magic)->handle(event, status, handle, sip, tags);
    }

    static void RetryFired(su_root_magic_t* magic, su_timer_t* /*timer*/, su_timer_arg_t* /*arg*/) {
        static_cast<Agent*>(magic)->registerNow();
    }

    static void ProbeFired(su_root_magic_t* magic, su_timer_t* /*timer*/, su_timer_arg_t* /*arg*/) {
        static_cast<Agent*>(magic)->probe();
    }

    void handle(nua_event_t event, int status, nua_handle_t* handle, const sip_t* sip,
                tagi_t tags[]) {
        switch (event) {
            case nua_r_register:
                if (handle == registration_) {
                    registered(status, sip);
                }
                return;
            case nua_r_options:
                if (handle == probe_) {
                    probed(status);
                }
                return;
            case nua_i_invite:
                ring(handle, sip);
                return;
            case nua_i_cancel:
                cancelled(handle, sip);
                return;
            case nua_i_state:
                stateChanged(handle, tags);
                return;
            case nua_r_shutdown:
                if (status >= 200) {
                    shutDownDone_ = true;
                }
                return;
            case nua_i_options:
            case nua_i_message:
            case nua_i_info:
            case nua_i_notify:
            case nua_i_subscribe:
            case nua_i_refer:
            case nua_i_publish:
            case nua_i_method:
            case nua_i_register:
                forget(handle);
                return;
            default:
                return;
        }
    }

    std::string registrarUrl() const {
        return std::string(Scheme(account_.transport)) + account_.server +
               TransportParameter(account_.transport);
    }

    void registerNow() {
        su_timer_reset(timer_.get());
        if (registration_ != nullptr) {
            nua_handle_destroy(registration_);
        }
        challenged_ = false;
        const std::string self = std::string(Scheme(account_.transport)) +
                                 EscapeSipUser(account_.user) + "@" + account_.server;
        const std::string registrar = registrarUrl();
        const std::string expires = std::to_string(options_.expires.count());
        registration_ = nua_handle(nua_, nullptr, SIPTAG_TO_STR(self.c_str()), TAG_END());
        nua_register(registration_, NUTAG_REGISTRAR(registrar.c_str()),
                     NUTAG_M_USERNAME(EscapeSipUser(account_.user).c_str()),
                     SIPTAG_EXPIRES_STR(expires.c_str()), TAG_END());
    }

    void registered(int status, const sip_t* sip) {
        if (status < 200) {
            return;
        }
        if (status < 300) {
            challenged_ = false;
            silent_ = false;
            schedule_.reset();
            askAfter(options_.keepAlive);
            report({true, SipRegistered(account_)});
            return;
        }
        if ((status == 401 || status == 407) && !challenged_ && sip != nullptr) {
            challenged_ = authenticate(sip);
            if (challenged_) {
                return;
            }
        }
        const bool unreachable = status == 408 || status == 480 || status >= 500;
        const bool refused =
            (status >= 400 && status < 500 && !unreachable) || (status >= 600 && status < 700);
        if (refused) {
            // Trying a refused password again and again can get the account locked.
            su_timer_reset(probeTimer_.get());
            report({false, SipRejected(account_, status)});
            return;
        }
        silent_ = true;
        askAfter(std::min(options_.keepAlive, kAskWhileSilent));
        const std::chrono::milliseconds wait = schedule_.next();
        su_timer_set_interval(timer_.get(), &Agent::RetryFired, nullptr,
                              static_cast<su_duration_t>(wait.count()));
        // The stack says 503 alike for a refused certificate and for no connection.
        const std::optional<std::string> why =
            account_.transport == SipTransport::Tls
                ? distrusted(FetchSipPeerCertificate(account_.server, kHandshakeWait))
                : std::nullopt;
        report({false, why ? *why : SipUnreachable(account_, wait)});
    }

    // The status line for a certificate the source does not trust, nothing for one it does.
    std::optional<std::string> distrusted(const SipPeerCertificate& shown) const {
        const std::optional<std::string> pinned = ParseSipFingerprint(account_.certificate);
        if (!shown.shown || shown.trustedForName || (pinned && *pinned == shown.fingerprint)) {
            return std::nullopt;
        }
        return pinned ? SipChangedCertificate(account_, shown.fingerprint)
                      : SipUntrustedCertificate(account_, shown.fingerprint);
    }

    // What the stack is to trust: empty for the system's authorities, else the one certificate
    // the user trusted. Nothing when stopped first. The registrar's certificate is looked at
    // before the stack connects, since the stack would only say that it could not.
    std::optional<std::string> trustedCertificate(const std::atomic<bool>& stop) {
        const bool pinned = ParseSipFingerprint(account_.certificate).has_value();
        while (!stop) {
            const SipPeerCertificate shown =
                FetchSipPeerCertificate(account_.server, kHandshakeWait);
            const std::optional<std::string> why = distrusted(shown);
            if (!why && shown.shown) {
                return shown.trustedForName ? std::string() : shown.pem;
            }
            // Unreachable: the stack finds that out and tries again, unless only the user's
            // certificate would do, which it does not have yet.
            if (!why && !pinned) {
                return std::string();
            }
            const std::chrono::milliseconds wait = schedule_.next();
            report({false, why ? *why : SipUnreachable(account_, wait)});
            const auto until = std::chrono::steady_clock::now() + wait;
            while (!stop && std::chrono::steady_clock::now() < until) {
                su_root_step(root_, 100);
            }
        }
        return std::nullopt;
    }

    void askAfter(std::chrono::milliseconds wait) {
        su_timer_set_interval(probeTimer_.get(), &Agent::ProbeFired, nullptr,
                              static_cast<su_duration_t>(wait.count()));
    }

    // OPTIONS to the registrar: a registration alone would show an outage only at its refresh.
    void probe() {
        if (probe_ != nullptr) {
            nua_handle_destroy(probe_);
        }
        const std::string registrar = registrarUrl();
        probe_ = nua_handle(nua_, nullptr, SIPTAG_TO_STR(registrar.c_str()), TAG_END());
        nua_options(probe_, NUTAG_URL(registrar.c_str()), TAG_END());
    }

    void probed(int status) {
        if (status < 200) {
            return;
        }
        // Any answer of the registrar's own, even "not allowed", shows it is there; 408 and 503
        // are what the library says when nothing came.
        if (status != 408 && status < 500) {
            if (silent_) {
                registerNow();
            } else {
                askAfter(options_.keepAlive);
            }
            return;
        }
        if (!silent_) {
            silent_ = true;
            report({false, SipNoAnswer(account_)});
        }
        askAfter(std::min(options_.keepAlive, kAskWhileSilent));
    }

    bool authenticate(const sip_t* sip) {
        const msg_auth_t* challenge =
            sip->sip_www_authenticate ? sip->sip_www_authenticate : sip->sip_proxy_authenticate;
        if (challenge == nullptr || challenge->au_scheme == nullptr) {
            return false;
        }
        const char* realm = msg_params_find(challenge->au_params, "realm=");
        if (realm == nullptr) {
            return false;
        }
        const std::string& name = account_.authName.empty() ? account_.user : account_.authName;
        const std::string credentials =
            std::string(challenge->au_scheme) + ":" + realm + ":" + name + ":" + password_;
        nua_authenticate(registration_, NUTAG_AUTH(credentials.c_str()), TAG_END());
        return true;
    }

    void ring(nua_handle_t* handle, const sip_t* sip) {
        if (ringing_.size() >= kMostRinging) {
            // 4xx from one device leaves the call ringing on the others; 6xx would end it.
            nua_respond(ringing_.front(), SIP_480_TEMPORARILY_UNAVAILABLE, TAG_END());
            ended(ringing_.front());
            nua_handle_destroy(ringing_.front());
            ringing_.pop_front();
        }
        nua_respond(handle, SIP_180_RINGING, TAG_END());
        ringing_.push_back(handle);
        if (sip == nullptr || sip->sip_from == nullptr) {
            return;
        }
        const std::string callId =
            sip->sip_call_id != nullptr && sip->sip_call_id->i_id != nullptr
                ? std::string(sip->sip_call_id->i_id).substr(0, kMostCallIdBytes)
                : std::string();
        callIds_[handle] = callId;
        std::optional<SipAddress> asserted;
        // The library's accessor takes no const message; it only reads.
        if (const sip_p_asserted_identity_t* identity =
                sip_p_asserted_identity(const_cast<sip_t*>(sip))) {
            asserted = AddressOf(identity->paid_url);
        }
        const SipAddress to = sip->sip_to ? AddressOf(sip->sip_to->a_url) : SipAddress{};
        const SipAddress target =
            sip->sip_request ? AddressOf(sip->sip_request->rq_url) : SipAddress{};
        handlers_.call(platform::CallStage::Ringing, callId,
                       SipCaller(asserted, AddressOf(sip->sip_from->a_url), PrivacyRequested(sip)),
                       SipCalled(to, target));
    }

    // The caller gave up, or the telephone system stopped the ringing because another device
    // took the call: its Reason says which.
    void cancelled(nua_handle_t* handle, const sip_t* sip) {
        const auto found = callIds_.find(handle);
        if (found == callIds_.end() || sip == nullptr) {
            return;
        }
        for (const sip_reason_t* reason = sip->sip_reason; reason != nullptr;
             reason = reason->re_next) {
            if (reason->re_protocol != nullptr && reason->re_cause != nullptr &&
                AnsweredElsewhere(std::string(reason->re_protocol) +
                                  ";cause=" + reason->re_cause)) {
                handlers_.call(platform::CallStage::Answered, found->second, {}, {});
                break;
            }
        }
        ended(handle);
    }

    // Once per call: its handle is forgotten with the report.
    void ended(nua_handle_t* handle) {
        const auto found = callIds_.find(handle);
        if (found != callIds_.end()) {
            const std::string callId = std::move(found->second);
            callIds_.erase(found);
            handlers_.call(platform::CallStage::Ended, callId, {}, {});
        }
    }

    void stateChanged(nua_handle_t* handle, tagi_t tags[]) {
        int state = nua_callstate_init;
        tl_gets(tags, NUTAG_CALLSTATE_REF(state), TAG_END());
        if (state == nua_callstate_terminated) {
            forget(handle);
        }
    }

    void trimAfterRequests() {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastRelease_ < kTrimFor && now - lastTrim_ >= kTrimEvery) {
            ::malloc_trim(0);
            lastTrim_ = now;
        }
    }

    // Requests outside a call come with a handle of their own that nobody else frees.
    void forget(nua_handle_t* handle) {
        lastRelease_ = std::chrono::steady_clock::now();
        if (handle == registration_ || handle == probe_) {
            return;
        }
        const auto found = std::ranges::find(ringing_, handle);
        if (found != ringing_.end()) {
            ringing_.erase(found);
        }
        ended(handle);
        nua_handle_destroy(handle);
    }

    void report(platform::CallSourceStatus status) {
        if (status != lastStatus_) {
            lastStatus_ = status;
            handlers_.status(std::move(status));
        }
    }

    // Unregisters and lets the ringing calls go, but waits for the registrar only briefly.
    void shutDown() {
        su_timer_reset(timer_.get());
        su_timer_reset(probeTimer_.get());
        // A registrar that never answers the un-REGISTER would otherwise hold the sockets for
        // half a minute.
        nua_set_params(nua_, NTATAG_SIP_T1X64(kFarewellMs), TAG_END());
        // The library's own farewell would be 410, which a telephone system may take for "number
        // gone"; 480 says only this device is away.
        for (nua_handle_t* handle : ringing_) {
            nua_respond(handle, SIP_480_TEMPORARILY_UNAVAILABLE, TAG_END());
        }
        nua_shutdown(nua_);
        const auto deadline =
            std::chrono::steady_clock::now() + 2 * std::chrono::milliseconds(kFarewellMs);
        while (!shutDownDone_ && std::chrono::steady_clock::now() < deadline) {
            su_root_step(root_, 50);
        }
        if (shutDownDone_) {
            nua_destroy(nua_);
            nua_ = nullptr;
        }
    }

    const SipAccount& account_;
    const std::string& password_;
    const SipStackOptions& options_;
    const SipStack::Handlers& handlers_;
    RetrySchedule schedule_;
    su_root_t* root_ = nullptr;
    Timer timer_;
    Timer probeTimer_;
    nua_t* nua_ = nullptr;
    nua_handle_t* registration_ = nullptr;
    nua_handle_t* probe_ = nullptr;
    bool challenged_ = false;
    // No answer from the registrar lately: the next one it gives is followed by a registration.
    bool silent_ = false;
    bool shutDownDone_ = false;
    std::deque<nua_handle_t*> ringing_;
    std::map<nua_handle_t*, std::string> callIds_;  // of the ringing calls
    std::chrono::steady_clock::time_point lastRelease_{};
    std::chrono::steady_clock::time_point lastTrim_{};
    platform::CallSourceStatus lastStatus_;
};

}  // namespace

void SipStack::Run(const SipAccount& account, const std::string& password,
                   const SipStackOptions& options, const Handlers& handlers,
                   const std::atomic<bool>& stop) {
    const SofiaLibrary library;
    Agent agent(account, password, options, handlers);
    agent.run(stop);
}

}  // namespace kw::qt
