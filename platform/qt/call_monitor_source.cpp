#include "platform/qt/call_monitor_source.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QTcpSocket>
#include <QTimer>

#include <utility>

namespace kw::qt {

namespace {

// A router that vanished without a word is noticed after about a minute and a half.
void KeepAlive(QTcpSocket& socket) {
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const auto fd = static_cast<int>(socket.socketDescriptor());
    const int idle = 60;
    const int interval = 10;
    const int count = 3;
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
}

MonitorFault FaultOf(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            return MonitorFault::Refused;
        case QAbstractSocket::HostNotFoundError:
            return MonitorFault::HostNotFound;
        case QAbstractSocket::SocketTimeoutError:
            return MonitorFault::TimedOut;
        case QAbstractSocket::RemoteHostClosedError:
            return MonitorFault::Closed;
        case QAbstractSocket::NetworkError:
            return MonitorFault::NetworkUnreachable;
        default:
            return MonitorFault::Other;
    }
}

}  // namespace

CallMonitorSource::CallMonitorSource(std::string host, std::uint16_t port, CallMonitorTiming timing)
    : host_(std::move(host)),
      port_(port),
      timing_(timing),
      schedule_(timing.firstRetry, timing.longestRetry) {}

CallMonitorSource::~CallMonitorSource() {
    // Aborting a connection emits signals; none may reach this half-destroyed source.
    if (socket_) {
        socket_->disconnect();
        socket_->abort();
    }
    if (timer_) {
        timer_->disconnect();
    }
}

void CallMonitorSource::start(CallHandler onCall, StatusHandler onStatus) {
    onCall_ = std::move(onCall);
    onStatus_ = std::move(onStatus);
    timer_ = std::make_unique<QTimer>();
    timer_->setSingleShot(true);
    socket_ = std::make_unique<QTcpSocket>();
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] { timerFired(); });
    QObject::connect(socket_.get(), &QTcpSocket::connected, socket_.get(), [this] { connected(); });
    QObject::connect(socket_.get(), &QTcpSocket::readyRead, socket_.get(), [this] { readLines(); });
    QObject::connect(socket_.get(), &QTcpSocket::errorOccurred, socket_.get(),
                     [this](QAbstractSocket::SocketError error) { fail(FaultOf(error)); });
    QObject::connect(socket_.get(), &QTcpSocket::disconnected, socket_.get(),
                     [this] { fail(MonitorFault::Closed); });
    connectNow();
}

void CallMonitorSource::connectNow() {
    socket_->abort();
    state_ = State::Connecting;
    ++connection_;
    lines_.reset();
    if (onStatus_) {
        onStatus_({false, CallMonitorConnecting(host_, port_)});
    }
    // Before connecting: a failure may be reported at once and start the retry wait instead.
    timer_->start(timing_.connectTimeout);
    // Resolves the name in Qt's lookup threads, so the window never waits for it.
    socket_->connectToHost(QString::fromStdString(host_), port_);
}

void CallMonitorSource::connected() {
    if (state_ != State::Connecting) {
        return;
    }
    state_ = State::Connected;
    timer_->stop();
    schedule_.reset();
    KeepAlive(*socket_);
    if (onStatus_) {
        onStatus_({true, CallMonitorConnected(host_, port_)});
    }
    readLines();
}

void CallMonitorSource::fail(MonitorFault fault) {
    if (state_ != State::Connecting && state_ != State::Connected) {
        return;
    }
    if (state_ == State::Connected) {
        fault = MonitorFault::Closed;
    }
    state_ = State::Waiting;
    const std::chrono::milliseconds wait = schedule_.next();
    timer_->start(wait);
    if (onStatus_) {
        onStatus_({false, CallMonitorWaiting(host_, port_, fault, wait)});
    }
}

void CallMonitorSource::timerFired() {
    if (state_ == State::Connecting) {
        fail(MonitorFault::TimedOut);
        socket_->abort();
    } else if (state_ == State::Waiting) {
        connectNow();
    }
}

void CallMonitorSource::readLines() {
    // A handler with an event loop of its own leaves the newer bytes to the loop below.
    if (reading_) {
        return;
    }
    reading_ = true;
    while (socket_->bytesAvailable() > 0) {
        const std::uint64_t connection = connection_;
        const QByteArray bytes = socket_->read(64 * 1024);
        lines_.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                    [&](std::string_view line) {
                        if (connection != connection_) {
                            return;
                        }
                        if (onReport_) {
                            if (const auto report = MonitorReport(line)) {
                                onReport_(*report);
                            }
                        } else if (const auto ring = DecodeCallMonitorLine(line); ring && onCall_) {
                            onCall_(ring->caller, ring->called);
                        }
                    });
        // The connection was replaced during a call: the rest of its bytes is not the new one's.
        if (connection != connection_) {
            lines_.reset();
        }
    }
    reading_ = false;
}

}  // namespace kw::qt
