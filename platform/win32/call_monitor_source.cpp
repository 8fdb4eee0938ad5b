#include "platform/win32/call_monitor_source.h"

// Before <windows.h>, which would otherwise bring the old winsock.h.
#include <winsock2.h>

#include <mstcpip.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <deque>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include "core/call_monitor_line.h"
#include "core/call_monitor_status.h"
#include "core/retry_schedule.h"
#include "platform/win32/handover_queue.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {

namespace {

constexpr UINT kDeliver = WM_APP + 1;
constexpr wchar_t kWindowClass[] = L"KlingelwartCallMonitor";
// How soon the worker tries again to post a message that could not be posted.
constexpr DWORD kRepostMilliseconds = 100;

// A line that tells of a call, kept whole for the UI thread.
struct Ring {
    platform::CallStage stage = platform::CallStage::Ringing;
    std::string callId;
    std::string caller;
    std::string called;
};
using Event = std::variant<platform::CallSourceStatus, Ring>;

class UniqueSocket {
  public:
    UniqueSocket() = default;
    explicit UniqueSocket(SOCKET socket) : socket_(socket) {}
    ~UniqueSocket() {
        if (socket_ != INVALID_SOCKET) {
            closesocket(socket_);
        }
    }
    UniqueSocket(UniqueSocket&& other) noexcept
        : socket_(std::exchange(other.socket_, INVALID_SOCKET)) {}
    UniqueSocket& operator=(UniqueSocket&& other) noexcept {
        std::swap(socket_, other.socket_);
        return *this;
    }
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;

    SOCKET get() const { return socket_; }
    explicit operator bool() const { return socket_ != INVALID_SOCKET; }

  private:
    SOCKET socket_ = INVALID_SOCKET;
};

class WinsockSession {
  public:
    WinsockSession() {
        WSADATA data{};
        ok_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockSession() {
        if (ok_) {
            WSACleanup();
        }
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;

    bool ok() const { return ok_; }

  private:
    bool ok_ = false;
};

struct FreeAddresses {
    void operator()(ADDRINFOW* addresses) const { FreeAddrInfoW(addresses); }
};
using Addresses = std::unique_ptr<ADDRINFOW, FreeAddresses>;

// One name lookup, shared by the worker and the thread that runs it: the worker may go first.
struct Lookup {
    UniqueHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    int error = WSANO_RECOVERY;
    Addresses found;
};

MonitorFault FaultOf(int error) {
    switch (error) {
        case WSAECONNREFUSED:
            return MonitorFault::Refused;
        case WSAHOST_NOT_FOUND:
        case WSANO_DATA:
        case WSATRY_AGAIN:
        case WSANO_RECOVERY:
            return MonitorFault::HostNotFound;
        case WSAETIMEDOUT:
            return MonitorFault::TimedOut;
        case WSAENETUNREACH:
        case WSAEHOSTUNREACH:
        case WSAENETDOWN:
            return MonitorFault::NetworkUnreachable;
        default:
            return MonitorFault::Other;
    }
}

// A router that vanished without a word is noticed after about a minute and a half.
void KeepAlive(SOCKET socket) {
    tcp_keepalive values{1, 60'000, 10'000};
    DWORD returned = 0;
    WSAIoctl(socket, SIO_KEEPALIVE_VALS, &values, sizeof values, nullptr, 0, &returned, nullptr,
             nullptr);
}

}  // namespace

// The worker's way to the UI thread: events queue up, a posted message tells the window to hand
// them out.
class CallMonitorSource::Channel {
  public:
    Channel(CallHandler onCall, ReportHandler onReport, StatusHandler onStatus)
        : onCall_(std::move(onCall)),
          onStatus_(std::move(onStatus)),
          onReport_(std::move(onReport)),
          events_(kMaxQueued,
                  [this] { return window_ != nullptr && PostMessageW(window_, kDeliver, 0, 0); }) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &Channel::windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kWindowClass;
        RegisterClassExW(&windowClass);  // already there for the second source: fine
        window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, this);
    }
    ~Channel() {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
    }
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    bool ok() const { return window_ != nullptr; }

    void status(platform::CallSourceStatus status) {
        if (onStatus_) {
            onStatus_(status);
        }
    }

    // From the worker.
    void post(Event event) { events_.push(std::move(event)); }
    // From the worker: true when no message is owed.
    bool repost() { return events_.retry(); }

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        } else if (message == kDeliver) {
            auto* channel = reinterpret_cast<Channel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            // An exception must not unwind through the system's frames that called this.
            try {
                if (channel != nullptr) {
                    channel->deliver();
                }
            } catch (...) {
            }
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    // One batch per message, so that a flood never holds the window.
    void deliver() {
        // A handler with a message loop of its own leaves the newer events to the outer one.
        if (delivering_) {
            events_.pass();
            return;
        }
        struct Delivering {
            explicit Delivering(Channel& channel) : channel_(channel) {
                channel_.delivering_ = true;
            }
            ~Delivering() {
                channel_.delivering_ = false;
                channel_.events_.again();
            }
            Delivering(const Delivering&) = delete;
            Delivering& operator=(const Delivering&) = delete;
            Channel& channel_;
        } const guard(*this);
        for (const Event& event : events_.take()) {
            if (const auto* ring = std::get_if<Ring>(&event)) {
                if (onReport_) {
                    onReport_({ring->stage, ring->callId, ring->caller, ring->called});
                } else if (onCall_ && ring->stage == platform::CallStage::Ringing) {
                    onCall_(ring->caller, ring->called);
                }
            } else {
                status(std::get<platform::CallSourceStatus>(event));
            }
        }
    }

    CallHandler onCall_;
    StatusHandler onStatus_;
    ReportHandler onReport_;
    HWND window_ = nullptr;
    bool delivering_ = false;  // UI thread only
    HandoverQueue<Event> events_;
};

// Resolves, connects and reads on a thread of its own; every wait also ends on the stop event,
// so that the source goes without delay.
class CallMonitorSource::Worker {
  public:
    // Throws when the thread or its stop event cannot be made.
    Worker(std::string host, std::uint16_t port, CallMonitorTiming timing, HostLookup lookup,
           Channel& channel)
        : host_(std::move(host)),
          port_(port),
          timing_(timing),
          lookup_(std::move(lookup)),
          channel_(channel),
          stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        if (!stop_) {
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category());
        }
        thread_ = std::thread([this] { run(); });
    }
    ~Worker() {
        SetEvent(stop_.get());
        thread_.join();
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

  private:
    // Failed: waiting itself failed (failed_ says why); the worker ends as on Stop.
    enum class Wake { Stop, Event, Timeout, Failed };

    Wake wait(HANDLE event, DWORD milliseconds) {
        const HANDLE handles[] = {stop_.get(), event};
        const DWORD count = event == nullptr ? 1 : 2;
        const ULONGLONG start = GetTickCount64();
        for (;;) {
            DWORD left = milliseconds;
            if (milliseconds != INFINITE) {
                const ULONGLONG waited = GetTickCount64() - start;
                left = waited >= milliseconds ? 0 : milliseconds - static_cast<DWORD>(waited);
            }
            // A message that could not be posted is tried again soon, not at the next event.
            const DWORD slice = channel_.repost() ? left : std::min(left, kRepostMilliseconds);
            switch (WaitForMultipleObjects(count, handles, FALSE, slice)) {
                case WAIT_OBJECT_0:
                    return Wake::Stop;
                case WAIT_OBJECT_0 + 1:
                    return Wake::Event;
                case WAIT_TIMEOUT:
                    if (slice == left) {
                        return Wake::Timeout;
                    }
                    break;
                default:
                    failed_ = GetLastError();
                    return Wake::Failed;
            }
        }
    }

    bool stopped() { return wait(nullptr, 0) != Wake::Timeout; }

    void run() {
        serve();
        if (failed_ != 0) {
            channel_.post(platform::CallSourceStatus{
                false, CallMonitorUnavailable(
                           host_, port_, "Warten fehlgeschlagen: " + Win32ErrorText(failed_))});
        }
    }

    void serve() {
        const WinsockSession winsock;
        RetrySchedule schedule(timing_.firstRetry, timing_.longestRetry);
        for (bool first = true;; first = false) {
            if (!first) {
                channel_.post(
                    platform::CallSourceStatus{false, CallMonitorConnecting(host_, port_)});
            }
            MonitorFault fault = MonitorFault::Other;
            if (winsock.ok()) {
                Addresses addresses = resolve(fault);
                UniqueSocket socket;
                if (addresses) {
                    socket = connectAny(addresses.get(), fault);
                }
                if (socket) {
                    schedule.reset();
                    channel_.post(
                        platform::CallSourceStatus{true, CallMonitorConnected(host_, port_)});
                    read(socket.get());
                    fault = MonitorFault::Closed;
                }
            }
            if (stopped()) {
                return;
            }
            const std::chrono::milliseconds pause = schedule.next();
            channel_.post(
                platform::CallSourceStatus{false, CallMonitorWaiting(host_, port_, fault, pause)});
            if (wait(nullptr, static_cast<DWORD>(pause.count())) != Wake::Timeout) {
                return;
            }
        }
    }

    // The lookup runs on a thread of its own: a name service that does not answer would
    // otherwise keep the source from going until its own timeout. When the source stops first,
    // that thread finishes alone and frees what it found.
    Addresses resolve(MonitorFault& fault) {
        fault = MonitorFault::Other;
        auto lookup = std::make_shared<Lookup>();
        if (!lookup->done) {
            return {};
        }
        try {
            std::thread([lookup, resolve = lookup_, host = Utf8ToWide(host_),
                         port = std::to_wstring(port_)]() mutable {
                // Its own, since the worker's session may end first.
                const WinsockSession winsock;
                ADDRINFOW hints{};
                hints.ai_family = AF_UNSPEC;
                hints.ai_socktype = SOCK_STREAM;
                hints.ai_protocol = IPPROTO_TCP;
                ADDRINFOW* found = nullptr;
                const int error = winsock.ok() ? resolve(host.c_str(), port.c_str(), &hints, &found)
                                               : WSANOTINITIALISED;
                lookup->found.reset(found);
                lookup->error = error != NO_ERROR || found != nullptr ? error : WSANO_DATA;
                SetEvent(lookup->done.get());
                lookup.reset();  // the addresses go while this session still stands
            }).detach();
        } catch (const std::system_error&) {
            return {};
        }
        if (wait(lookup->done.get(), INFINITE) != Wake::Event) {
            return {};
        }
        if (lookup->error != NO_ERROR) {
            fault = FaultOf(lookup->error);
            return {};
        }
        return std::move(lookup->found);
    }

    UniqueSocket connectAny(const ADDRINFOW* addresses, MonitorFault& fault) {
        for (const ADDRINFOW* address = addresses; address != nullptr && !stopped();
             address = address->ai_next) {
            // The event first, so that the socket is closed before the event it signals.
            const UniqueHandle event(WSACreateEvent());
            UniqueSocket socket(WSASocketW(address->ai_family, address->ai_socktype,
                                           address->ai_protocol, nullptr, 0,
                                           WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT));
            if (!socket || !event ||
                WSAEventSelect(socket.get(), event.get(), FD_CONNECT) == SOCKET_ERROR) {
                fault = FaultOf(WSAGetLastError());
                continue;
            }
            if (connect(socket.get(), address->ai_addr, static_cast<int>(address->ai_addrlen)) ==
                    SOCKET_ERROR &&
                WSAGetLastError() != WSAEWOULDBLOCK) {
                fault = FaultOf(WSAGetLastError());
                continue;
            }
            const Wake wake = wait(event.get(), static_cast<DWORD>(timing_.connectTimeout.count()));
            if (wake == Wake::Timeout) {
                fault = MonitorFault::TimedOut;
                continue;
            }
            WSANETWORKEVENTS events{};
            if (wake != Wake::Event ||
                WSAEnumNetworkEvents(socket.get(), event.get(), &events) == SOCKET_ERROR) {
                continue;
            }
            if ((events.lNetworkEvents & FD_CONNECT) != 0 &&
                events.iErrorCode[FD_CONNECT_BIT] == 0) {
                // The event goes with this attempt; read() selects on its own.
                WSAEventSelect(socket.get(), nullptr, 0);
                return socket;
            }
            fault = FaultOf(events.iErrorCode[FD_CONNECT_BIT]);
        }
        return {};
    }

    // Until the connection ends or the source stops.
    void read(SOCKET socket) {
        const UniqueHandle event(WSACreateEvent());
        if (!event || WSAEventSelect(socket, event.get(), FD_READ | FD_CLOSE) == SOCKET_ERROR) {
            return;
        }
        // Leaves the socket before the event closes.
        struct Deselect {
            SOCKET socket;
            ~Deselect() { WSAEventSelect(socket, nullptr, 0); }
        } const deselect{socket};
        KeepAlive(socket);
        CallMonitorLines lines;
        std::vector<char> buffer(64 * 1024);
        const auto take = [this](std::string_view line) {
            if (const auto report = MonitorReport(line)) {
                channel_.post(Ring{report->stage, std::string(report->callId),
                                   std::string(report->caller), std::string(report->called)});
            }
        };
        bool closing = false;
        for (;;) {
            for (;;) {
                const int got = recv(socket, buffer.data(), static_cast<int>(buffer.size()), 0);
                if (got > 0) {
                    lines.feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)),
                               take);
                } else if (got == 0 || WSAGetLastError() != WSAEWOULDBLOCK) {
                    return;
                } else {
                    break;
                }
            }
            if (closing || wait(event.get(), INFINITE) != Wake::Event) {
                return;
            }
            WSANETWORKEVENTS events{};
            if (WSAEnumNetworkEvents(socket, event.get(), &events) == SOCKET_ERROR) {
                return;
            }
            // The last bytes may still wait behind the close.
            closing = (events.lNetworkEvents & FD_CLOSE) != 0;
        }
    }

    std::string host_;
    std::uint16_t port_;
    CallMonitorTiming timing_;
    HostLookup lookup_;
    Channel& channel_;
    UniqueHandle stop_;
    DWORD failed_ = 0;  // worker thread only
    std::thread thread_;
};

CallMonitorSource::CallMonitorSource(std::string host, std::uint16_t port, CallMonitorTiming timing,
                                     HostLookup lookup)
    : host_(std::move(host)),
      port_(port),
      timing_(timing),
      lookup_(lookup ? std::move(lookup) : HostLookup(&GetAddrInfoW)) {}

CallMonitorSource::~CallMonitorSource() = default;

void CallMonitorSource::start(CallHandler onCall, StatusHandler onStatus) {
    const auto unavailable = [&](std::string_view why) {
        if (onStatus) {
            onStatus({false, CallMonitorUnavailable(host_, port_, why)});
        }
    };
    try {
        channel_ = std::make_unique<Channel>(std::move(onCall), std::move(onReport_), onStatus);
        if (!channel_->ok()) {
            unavailable("kein Nachrichtenfenster");
            return;
        }
        channel_->status({false, CallMonitorConnecting(host_, port_)});
        worker_ = std::make_unique<Worker>(host_, port_, timing_, lookup_, *channel_);
    } catch (const std::exception&) {
        unavailable("kein Arbeitsthread");
    }
}

}  // namespace kw::win32
