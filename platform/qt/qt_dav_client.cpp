#include "platform/qt/qt_dav_client.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslError>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <optional>

namespace kw::qt {

namespace {

using platform::DavFault;
using platform::DavLimits;
using platform::DavReply;
using platform::DavRequest;
using namespace std::chrono_literals;

constexpr int kMaxRedirects = 5;
// How soon a cancel() from another thread reaches a running exchange.
constexpr auto kCancelPoll = 50ms;

// What one request came to: a fault, or a status with its body and, for a redirect, the target.
struct Hop {
    DavFault fault = DavFault::None;
    int status = 0;
    QByteArray body;
    QString detail;
    std::optional<QUrl> redirect;
};

DavReply Fault(DavFault fault, const QString& detail = {}) {
    return DavReply{fault, 0, {}, detail.toStdString()};
}

bool IsHttp(const QUrl& url) {
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

bool SameOrigin(const QUrl& from, const QUrl& to) {
    const auto port = [](const QUrl& url) {
        return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
    };
    return from.scheme() == to.scheme() && from.host() == to.host() && port(from) == port(to);
}

// The system's trust store, and for tests and private CAs also what SSL_CERT_FILE names, as
// OpenSSL and so the SIP check take it.
QSslConfiguration Trust() {
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    const QString file = qEnvironmentVariable("SSL_CERT_FILE");
    if (!file.isEmpty()) {
        const QList<QSslCertificate> extra = QSslCertificate::fromPath(file, QSsl::Pem);
        if (!extra.isEmpty()) {
            configuration.setCaCertificates(QSslConfiguration::systemCaCertificates() + extra);
        }
    }
    return configuration;
}

// What Qt's own error means for the caller; nullopt where the server gave an answer.
std::optional<DavFault> FaultOf(QNetworkReply::NetworkError error) {
    switch (error) {
        case QNetworkReply::NoError:
            return std::nullopt;
        case QNetworkReply::ConnectionRefusedError:
        case QNetworkReply::RemoteHostClosedError:
        case QNetworkReply::HostNotFoundError:
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::NetworkSessionFailedError:
        case QNetworkReply::UnknownNetworkError:
            return DavFault::Unreachable;
        case QNetworkReply::TimeoutError:
            return DavFault::TooSlow;
        default:
            break;
    }
    if (error >= QNetworkReply::ProxyConnectionRefusedError &&
        error <= QNetworkReply::UnknownProxyError) {
        return DavFault::Unreachable;
    }
    // 4xx and 5xx statuses: the server's own answer.
    const bool answered =
        (error >= QNetworkReply::ContentAccessDenied &&
         error <= QNetworkReply::UnknownContentError) ||
        (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
    return answered ? std::nullopt : std::optional<DavFault>(DavFault::Other);
}

// Sends one request and waits for its reply within `limits` and `deadline`.
class Exchange {
  public:
    Exchange(QNetworkAccessManager& manager, const DavLimits& limits,
             const QDeadlineTimer& deadline, const std::atomic<bool>& cancelled)
        : manager_(manager), limits_(limits), deadline_(deadline), cancelled_(cancelled) {}

    Hop run(const QNetworkRequest& request, const QByteArray& method, const QByteArray& body) {
        QEventLoop loop;
        reply_.reset(manager_.sendCustomRequest(request, method, body));
        QNetworkReply* reply = reply_.get();

        QTimer stall;
        stall.setSingleShot(true);
        stall.setInterval(limits_.stall);
        QTimer overall;
        overall.setSingleShot(true);
        overall.setInterval(std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline_.remainingTimeAsDuration()));
        QTimer poll;
        poll.setInterval(kCancelPoll);
        QObject::connect(&stall, &QTimer::timeout, &loop, [this] { end(DavFault::TooSlow); });
        QObject::connect(&overall, &QTimer::timeout, &loop, [this] { end(DavFault::TooSlow); });
        QObject::connect(&poll, &QTimer::timeout, &loop, [this] {
            if (cancelled_.load()) {
                end(DavFault::Cancelled);
            }
        });

        const auto progress = [&stall] { stall.start(); };
        QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [this, progress] {
            progress();
            bool known = false;
            const qulonglong length =
                reply_->header(QNetworkRequest::ContentLengthHeader).toULongLong(&known);
            if (known && length > limits_.maxBytes) {
                end(DavFault::TooLarge);
            }
        });
        QObject::connect(reply, &QNetworkReply::readyRead, &loop, [this, progress] {
            progress();
            take();
        });
        QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, progress);
        QObject::connect(reply, &QNetworkReply::sslErrors, &loop,
                         [this](const QList<QSslError>& errors) {
                             for (const QSslError& error : errors) {
                                 if (!tlsErrors_.contains(error.errorString())) {
                                     tlsErrors_ << error.errorString();
                                 }
                             }
                         });
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);

        stall.start();
        overall.start();
        poll.start();
        if (!reply->isFinished()) {
            loop.exec();
        }
        take();
        return result();
    }

  private:
    void end(DavFault why) {
        if (!ended_) {
            ended_ = why;
            reply_->abort();
        }
    }

    // Reads what arrived, never more than one byte past the limit.
    void take() {
        if (ended_) {
            return;
        }
        const qint64 room = static_cast<qint64>(limits_.maxBytes) + 1 - body_.size();
        body_ += reply_->read(std::max<qint64>(room, 0));
        if (static_cast<std::size_t>(body_.size()) > limits_.maxBytes) {
            end(DavFault::TooLarge);
        }
    }

    Hop result() const {
        if (ended_) {
            return Hop{*ended_};
        }
        if (!tlsErrors_.isEmpty()) {
            return Hop{DavFault::Certificate, 0, {}, tlsErrors_.join(QLatin1String("; "))};
        }
        const std::optional<DavFault> fault = FaultOf(reply_->error());
        const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (fault || !status.isValid()) {
            return Hop{fault.value_or(DavFault::Other), 0, {}, reply_->errorString()};
        }
        Hop hop{DavFault::None, status.toInt(), body_};
        const QByteArray location = reply_->rawHeader("Location");
        const int code = hop.status;
        if ((code == 301 || code == 302 || code == 303 || code == 307 || code == 308) &&
            !location.isEmpty()) {
            hop.redirect = reply_->url().resolved(QUrl::fromEncoded(location));
            hop.detail = QString::fromLatin1(location);
        }
        return hop;
    }

    QNetworkAccessManager& manager_;
    const DavLimits& limits_;
    const QDeadlineTimer& deadline_;
    const std::atomic<bool>& cancelled_;
    std::unique_ptr<QNetworkReply> reply_;
    QByteArray body_;
    QStringList tlsErrors_;
    std::optional<DavFault> ended_;
};

bool IsToken(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
               c == '-';
    });
}

}  // namespace

DavReply QtDavClient::send(const DavRequest& request, const DavLimits& limits) {
    if (cancelled_.load()) {
        return Fault(DavFault::Cancelled);
    }
    const QDeadlineTimer deadline(limits.deadline);
    QUrl url(QString::fromStdString(request.url), QUrl::StrictMode);
    if (!IsHttp(url)) {
        // Qt would read file: and data: addresses too; a server address is HTTP.
        return Fault(DavFault::Other,
                     QCoreApplication::translate("QNetworkReply", "Protocol \"%1\" is unknown")
                         .arg(url.scheme()));
    }
    const QByteArray method = QByteArray::fromStdString(request.method);
    // Neither may carry a line break into the header.
    if (method.isEmpty() || !IsToken(request.method) || !IsToken(request.depth)) {
        return Fault(DavFault::Other, QStringLiteral("ungültige Anfrage"));
    }
    const QByteArray body = QByteArray::fromStdString(request.body);

    QEventLoop owner;  // gives this thread Qt's event dispatcher before anything needs it
    Hop hop;
    {
        QNetworkAccessManager manager;
        manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
        // Qt's TLS takes a while to set up the first time; plain HTTP has no need of it.
        const std::optional<QSslConfiguration> trust =
            url.scheme() == QLatin1String("https") ? std::optional(Trust()) : std::nullopt;
        for (int redirects = 0;; ++redirects) {
            QNetworkRequest next(url);
            if (trust) {
                next.setSslConfiguration(*trust);
            }
            next.setHeader(QNetworkRequest::ContentTypeHeader,
                           QByteArrayLiteral("application/xml; charset=utf-8"));
            if (!request.depth.empty()) {
                next.setRawHeader("Depth", QByteArray::fromStdString(request.depth));
            }
            if (!request.user.empty()) {
                // Sent with the first request: Qt's own way would ask and wait for a 401 first.
                next.setRawHeader(
                    "Authorization",
                    "Basic " + QByteArray::fromStdString(request.user + ':' + request.password)
                                   .toBase64());
            }
            hop = Exchange(manager, limits, deadline, cancelled_).run(next, method, body);
            if (!hop.redirect) {
                break;
            }
            if (!hop.redirect->isValid() || !SameOrigin(url, *hop.redirect)) {
                hop = Hop{DavFault::OtherHost,
                          0,
                          {},
                          hop.redirect->isValid() ? hop.redirect->toString(QUrl::RemoveUserInfo)
                                                  : hop.detail};
                break;
            }
            if (redirects == kMaxRedirects) {
                hop = Hop{DavFault::Other,
                          0,
                          {},
                          QCoreApplication::translate("QHttp", "Too many redirects")};
                break;
            }
            url = *hop.redirect;
        }
    }
    // What Qt left to delete later goes now: this thread may never run a loop again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    if (hop.fault != DavFault::None) {
        return Fault(hop.fault, hop.detail);
    }
    return DavReply{DavFault::None, hop.status, hop.body.toStdString(), {}};
}

void QtDavClient::cancel() {
    cancelled_.store(true);
}

}  // namespace kw::qt
