#include "platform/win32/winhttp_dav_client.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cwctype>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"

#include <wincrypt.h>

namespace kw::win32 {

namespace {

using platform::DavFault;
using platform::DavReply;
using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

constexpr int kMaxRedirects = 5;
constexpr DWORD kReadChunk = 64u * 1024u;

// One request handle's side of the asynchronous calls. WinHTTP's callback holds a reference until
// the handle is closed, so that a step still running when send() gives up writes into live
// memory; the request body and the read buffer live here for the same reason.
struct Exchange {
    UniqueHandle stepDone{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    DWORD error = 0;
    DWORD bytes = 0;  // available, or read
    DWORD secureFlags = 0;
    std::string body;
    std::vector<char> buffer = std::vector<char>(kReadChunk);
};
using ExchangeRef = std::shared_ptr<Exchange>;

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
    if (context == 0) {
        return;  // the session or connection, or the request before it got its exchange
    }
    auto* holder = reinterpret_cast<ExchangeRef*>(context);
    Exchange& exchange = **holder;
    switch (status) {
        case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
        case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
            exchange.error = 0;
            SetEvent(exchange.stepDone.get());
            break;
        case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
            exchange.error = 0;
            exchange.bytes = info != nullptr ? *static_cast<const DWORD*>(info) : 0;
            SetEvent(exchange.stepDone.get());
            break;
        case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
            exchange.error = 0;
            exchange.bytes = length;
            SetEvent(exchange.stepDone.get());
            break;
        case WINHTTP_CALLBACK_STATUS_SECURE_FAILURE:
            exchange.secureFlags = info != nullptr ? *static_cast<const DWORD*>(info) : 0;
            break;
        case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
            exchange.error = static_cast<const WINHTTP_ASYNC_RESULT*>(info)->dwError;
            SetEvent(exchange.stepDone.get());
            break;
        case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
            delete holder;
            break;
        default:
            break;
    }
}

// The code whose text names what was wrong with the certificate, from the flags WinHTTP reported
// with its general certificate failure.
DWORD CertificateProblem(DWORD error, DWORD flags) {
    struct FlagCode {
        DWORD flag;
        DWORD code;
    };
    constexpr FlagCode kProblems[] = {
        {WINHTTP_CALLBACK_STATUS_FLAG_INVALID_CA, ERROR_WINHTTP_SECURE_INVALID_CA},
        {WINHTTP_CALLBACK_STATUS_FLAG_CERT_CN_INVALID, ERROR_WINHTTP_SECURE_CERT_CN_INVALID},
        {WINHTTP_CALLBACK_STATUS_FLAG_CERT_DATE_INVALID, ERROR_WINHTTP_SECURE_CERT_DATE_INVALID},
        {WINHTTP_CALLBACK_STATUS_FLAG_CERT_REVOKED, ERROR_WINHTTP_SECURE_CERT_REVOKED},
        {WINHTTP_CALLBACK_STATUS_FLAG_CERT_REV_FAILED, ERROR_WINHTTP_SECURE_CERT_REV_FAILED},
        {WINHTTP_CALLBACK_STATUS_FLAG_CERT_WRONG_USAGE, ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE},
        {WINHTTP_CALLBACK_STATUS_FLAG_INVALID_CERT, ERROR_WINHTTP_SECURE_INVALID_CERT},
    };
    if (error == ERROR_WINHTTP_SECURE_FAILURE) {
        for (const FlagCode& problem : kProblems) {
            if ((flags & problem.flag) != 0) {
                return problem.code;
            }
        }
    }
    return error;
}

DavFault FaultOf(DWORD error) {
    switch (error) {
        case ERROR_WINHTTP_SECURE_FAILURE:
        case ERROR_WINHTTP_SECURE_INVALID_CA:
        case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
        case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
        case ERROR_WINHTTP_SECURE_CERT_REVOKED:
        case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
        case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
        case ERROR_WINHTTP_SECURE_INVALID_CERT:
        case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:  // how Wine reports a refused certificate
            return DavFault::Certificate;
        case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        case ERROR_WINHTTP_CANNOT_CONNECT:
        case ERROR_WINHTTP_CONNECTION_ERROR:
        // Also a connection closed before any reply: WinHTTP gives both the same code.
        case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
            return DavFault::Unreachable;
        case ERROR_WINHTTP_TIMEOUT:
            return DavFault::TooSlow;
        case ERROR_WINHTTP_OPERATION_CANCELLED:
            return DavFault::Cancelled;
        default:
            return DavFault::Other;
    }
}

DavReply Fault(DavFault fault, std::string detail = {}) {
    DavReply reply;
    reply.fault = fault;
    reply.detail = std::move(detail);
    return reply;
}

DavReply SystemFault(DWORD error, DWORD secureFlags = 0) {
    const DWORD code = CertificateProblem(error, secureFlags);
    return Fault(FaultOf(error),
                 Win32ErrorText(code) + " (Windows-Fehler " + std::to_string(code) + ")");
}

// An address taken apart; `path` holds the query too.
struct Target {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_HTTP;
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring path;
};

std::optional<Target> Crack(const std::wstring& url, DWORD& error) {
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = DWORD(-1);
    parts.dwHostNameLength = DWORD(-1);
    parts.dwUrlPathLength = DWORD(-1);
    parts.dwExtraInfoLength = DWORD(-1);
    if (url.size() > INT_MAX || !WinHttpCrackUrl(url.c_str(), DWORD(url.size()), 0, &parts)) {
        error = GetLastError();
        return std::nullopt;
    }
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
        error = ERROR_WINHTTP_UNRECOGNIZED_SCHEME;
        return std::nullopt;
    }
    if (parts.dwHostNameLength == 0) {
        error = ERROR_WINHTTP_INVALID_URL;
        return std::nullopt;
    }
    Target target;
    target.scheme = parts.nScheme;
    target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    target.port = parts.nPort;
    target.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    target.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    target.path.erase(std::min(target.path.find(L'#'), target.path.size()));  // never sent
    if (target.path.empty()) {
        target.path = L"/";
    }
    return target;
}

bool SameOrigin(const Target& a, const Target& b) {
    return a.scheme == b.scheme && a.port == b.port &&
           std::equal(a.host.begin(), a.host.end(), b.host.begin(), b.host.end(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

// A Location header made absolute against the address it came from.
std::wstring Resolve(const Target& base, const std::wstring& location) {
    const std::size_t schemeEnd = location.find(L"://");
    if (schemeEnd != std::wstring::npos && schemeEnd < location.find_first_of(L"/?#")) {
        return location;
    }
    const std::wstring scheme = base.scheme == INTERNET_SCHEME_HTTPS ? L"https:" : L"http:";
    if (location.starts_with(L"//")) {
        return scheme + location;
    }
    const bool literalV6 =
        base.host.find(L':') != std::wstring::npos && !base.host.starts_with(L"[");
    const std::wstring host = literalV6 ? L"[" + base.host + L"]" : base.host;
    const std::wstring origin = scheme + L"//" + host + L":" + std::to_wstring(base.port);
    if (location.starts_with(L"/")) {
        return origin + location;
    }
    const std::wstring path = base.path.substr(0, base.path.find_first_of(L"?#"));
    return origin + path.substr(0, path.rfind(L'/') + 1) + location;
}

std::wstring QueryText(HINTERNET request, DWORD info) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                        &size, WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return {};
    }
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = DWORD(text.size() * sizeof(wchar_t));
    if (!WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size,
                             WINHTTP_NO_HEADER_INDEX)) {
        return {};
    }
    text.resize(size / sizeof(wchar_t));
    return text;
}

// Digits only; nullopt when there are none or the number does not fit.
std::optional<unsigned long long> Number(std::wstring_view text) {
    if (text.empty() || text.size() > 19) {
        return std::nullopt;
    }
    unsigned long long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        value = value * 10 + unsigned(c - L'0');
    }
    return value;
}

bool FitsInHeader(std::string_view text) {
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

std::string Base64(std::string_view bytes) {
    const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
    constexpr DWORD kFlags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
    DWORD size = 0;
    if (!CryptBinaryToStringA(data, DWORD(bytes.size()), kFlags, nullptr, &size)) {
        return {};
    }
    std::string text(size, '\0');
    if (!CryptBinaryToStringA(data, DWORD(bytes.size()), kFlags, text.data(), &size)) {
        return {};
    }
    text.resize(size);
    return text;
}

std::wstring RequestHeaders(const platform::DavRequest& request) {
    std::string headers = "Content-Type: application/xml; charset=utf-8\r\n";
    if (!request.depth.empty()) {
        headers += "Depth: " + request.depth + "\r\n";
    }
    if (!request.user.empty()) {
        // Sent with the first request: WinHTTP would otherwise wait for a challenge.
        headers += "Authorization: Basic " + Base64(request.user + ":" + request.password) + "\r\n";
    }
    return Utf8ToWide(headers);
}

DWORD ClampedMilliseconds(Milliseconds duration) {
    return DWORD(std::clamp<Milliseconds::rep>(duration.count(), 0, INT_MAX));
}

// One send(): its bounds, and each request of it (the first and the redirected ones).
class Trip {
  public:
    Trip(HINTERNET session, HANDLE cancelled, const platform::DavRequest& request,
         const platform::DavLimits& limits)
        : session_(session),
          cancelled_(cancelled),
          request_(request),
          limits_(limits),
          deadline_(Clock::now() + limits.deadline),
          method_(Utf8ToWide(request.method)),
          headers_(RequestHeaders(request)) {}

    DavReply run() {
        if (!FitsInHeader(request_.method) || request_.method.empty() ||
            !FitsInHeader(request_.depth) || request_.body.size() > INT_MAX) {
            return SystemFault(ERROR_INVALID_PARAMETER);
        }
        DWORD error = 0;
        std::optional<Target> target = Crack(Utf8ToWide(request_.url), error);
        if (!target) {
            return SystemFault(error);
        }
        // Redirects are followed to this origin only, so one connection handle serves them all.
        InternetHandle connection(WinHttpConnect(session_, target->host.c_str(), target->port, 0));
        if (!connection) {
            return SystemFault(GetLastError());
        }
        for (int redirects = 0;; ++redirects) {
            auto outcome = hop(connection.get(), *target);
            if (auto* reply = std::get_if<DavReply>(&outcome)) {
                return std::move(*reply);
            }
            const std::wstring& next = std::get<std::wstring>(outcome);
            std::optional<Target> redirected = Crack(next, error);
            if (!redirected || !SameOrigin(*target, *redirected)) {
                return Fault(DavFault::OtherHost, WideToUtf8(next));
            }
            if (redirects == kMaxRedirects) {
                return SystemFault(ERROR_WINHTTP_REDIRECT_FAILED);
            }
            target = std::move(redirected);
        }
    }

  private:
    // The final reply, or the address a redirect points to.
    std::variant<DavReply, std::wstring> hop(HINTERNET connection, const Target& target) {
        auto exchange = std::make_shared<Exchange>();
        exchange->body = request_.body;
        InternetHandle handle(
            WinHttpOpenRequest(connection, method_.c_str(), target.path.c_str(), nullptr,
                               WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                               target.scheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
        if (!handle || !exchange->stepDone) {
            return SystemFault(GetLastError());
        }
        if (DWORD error = configure(handle.get(), exchange)) {
            return SystemFault(error);
        }

        void* body = exchange->body.empty() ? WINHTTP_NO_REQUEST_DATA : exchange->body.data();
        const auto size = DWORD(exchange->body.size());
        if (auto fault = await(
                WinHttpSendRequest(handle.get(), headers_.c_str(), DWORD(-1), body, size, size, 0),
                *exchange)) {
            return std::move(*fault);
        }
        if (auto fault = await(WinHttpReceiveResponse(handle.get(), nullptr), *exchange)) {
            return std::move(*fault);
        }

        const int status =
            int(Number(QueryText(handle.get(), WINHTTP_QUERY_STATUS_CODE)).value_or(0));
        if (status == 301 || status == 302 || status == 307 || status == 308) {
            const std::wstring location = QueryText(handle.get(), WINHTTP_QUERY_LOCATION);
            if (!location.empty()) {
                return Resolve(target, location);
            }
        }
        // A declared length past the cap ends the exchange before a byte of the body is read.
        const std::wstring declared = QueryText(handle.get(), WINHTTP_QUERY_CONTENT_LENGTH);
        if (!declared.empty() && Number(declared).value_or(ULLONG_MAX) > limits_.maxBytes) {
            return Fault(DavFault::TooLarge);
        }

        DavReply reply;
        reply.status = status;
        for (;;) {
            // Asked first what has arrived, since a read may wait until its buffer is full: a
            // slow server would look stalled.
            exchange->bytes = 0;
            if (auto fault = await(WinHttpQueryDataAvailable(handle.get(), nullptr), *exchange)) {
                return std::move(*fault);
            }
            const DWORD available = std::min<DWORD>(exchange->bytes, kReadChunk);
            if (available == 0) {
                return reply;
            }
            exchange->bytes = 0;
            if (auto fault = await(
                    WinHttpReadData(handle.get(), exchange->buffer.data(), available, nullptr),
                    *exchange)) {
                return std::move(*fault);
            }
            const DWORD read = std::min(exchange->bytes, available);
            if (read > limits_.maxBytes - reply.body.size()) {
                return Fault(DavFault::TooLarge);
            }
            reply.body.append(exchange->buffer.data(), read);
        }
    }

    // 0, or the error that kept the request from being set up.
    DWORD configure(HINTERNET handle, const ExchangeRef& exchange) const {
        auto* holder = new ExchangeRef(exchange);
        auto context = reinterpret_cast<DWORD_PTR>(holder);
        if (!WinHttpSetOption(handle, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context)) {
            const DWORD error = GetLastError();
            delete holder;
            return error;
        }
        DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
        DWORD noLogon = WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH;
        const int stall = int(ClampedMilliseconds(limits_.stall));
        if (!WinHttpSetOption(handle, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never) ||
            !WinHttpSetOption(handle, WINHTTP_OPTION_AUTOLOGON_POLICY, &noLogon, sizeof noLogon) ||
            !WinHttpSetTimeouts(handle, stall, stall, stall, stall)) {
            return GetLastError();
        }
        return 0;
    }

    // Waits for the step `started` began, but no longer than the stall, the deadline or a
    // cancel(). nullopt: the step succeeded.
    std::optional<DavReply> await(BOOL started, Exchange& exchange) const {
        if (!started) {
            return SystemFault(GetLastError());
        }
        const auto left = std::chrono::ceil<Milliseconds>(deadline_ - Clock::now());
        const std::array<HANDLE, 2> events{exchange.stepDone.get(), cancelled_};
        const DWORD waited =
            WaitForMultipleObjects(DWORD(events.size()), events.data(), FALSE,
                                   ClampedMilliseconds(std::min(left, limits_.stall)));
        if (waited == WAIT_OBJECT_0 + 1) {
            return Fault(DavFault::Cancelled);
        }
        if (waited == WAIT_TIMEOUT) {
            return Fault(DavFault::TooSlow);
        }
        if (waited != WAIT_OBJECT_0) {
            return SystemFault(GetLastError());
        }
        if (exchange.error != 0) {
            return SystemFault(exchange.error, exchange.secureFlags);
        }
        return std::nullopt;
    }

    HINTERNET session_;
    HANDLE cancelled_;
    const platform::DavRequest& request_;
    const platform::DavLimits& limits_;
    Clock::time_point deadline_;
    std::wstring method_;
    std::wstring headers_;
};

// With the proxy the user set for the system where Windows knows it (8.1 on), else with the one
// set for WinHTTP alone.
HINTERNET OpenSession() {
    for (DWORD access : {WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY}) {
        if (HINTERNET session = WinHttpOpen(L"Klingelwart", access, WINHTTP_NO_PROXY_NAME,
                                            WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC)) {
            return session;
        }
    }
    return nullptr;
}

}  // namespace

WinHttpDavClient::WinHttpDavClient()
    : session_(OpenSession()), cancelled_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    constexpr DWORD kNotifications = WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS |
                                     WINHTTP_CALLBACK_FLAG_SECURE_FAILURE |
                                     WINHTTP_CALLBACK_FLAG_HANDLES;
    if (!session_ || !cancelled_ ||
        WinHttpSetStatusCallback(session_.get(), OnStatus, kNotifications, 0) ==
            WINHTTP_INVALID_STATUS_CALLBACK) {
        sessionError_ = GetLastError();
        session_.reset();
    }
}

WinHttpDavClient::~WinHttpDavClient() = default;

platform::DavReply WinHttpDavClient::send(const platform::DavRequest& request,
                                          const platform::DavLimits& limits) {
    if (!session_) {
        return SystemFault(sessionError_);
    }
    if (WaitForSingleObject(cancelled_.get(), 0) == WAIT_OBJECT_0) {
        return Fault(DavFault::Cancelled);
    }
    return Trip(session_.get(), cancelled_.get(), request, limits).run();
}

void WinHttpDavClient::cancel() {
    // The send() under way sees the event in its wait and closes its own handles.
    SetEvent(cancelled_.get());
}

}  // namespace kw::win32
