#include "platform/win32/call_monitor_source.h"

// Before <windows.h>, which would otherwise bring the old winsock.h.
#include <winsock2.h>

#include <mstcpip.h>
#include <ws2tcpip.h>

#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include "core/call_monitor_line.h"
#include "core/call_monitor_status.h"
#include "core/retry_schedule.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

// In ws2_32 since Windows 8; mingw-w64's ws2tcpip.h lacks them, its import library has them.
extern "C" {
WINSOCK_API_LINKAGE INT WSAAPI GetAddrInfoExCancel(LPHANDLE lpHandle);
WINSOCK_API_LINKAGE INT WSAAPI GetAddrInfoExOverlappedResult(LPOVERLAPPED lpOverlapped);
}

namespace kw::win32 {

namespace {

constexpr UINT kDeliver = WM_APP + 1;
constexpr wchar_t kWindowClass[] = L"KlingelwartCallMonitor";

struct Ring {
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
    void operator()(ADDRINFOEXW* addresses) const { FreeAddrInfoExW(addresses); }
};
using Addresses = std::unique_ptr<ADDRINFOEXW, FreeAddresses>;

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

// The worker's way to the UI thread. Events queue up here; one posted message at a time tells the
// window to hand them out.
class CallMonitorSource::Channel {
  public:
    Channel(CallHandler onCall, StatusHandler onStatus)
        : onCall_(std::move(onCall)), onStatus_(std::move(onStatus)) {
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
    void post(Event event) {
        const std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
        if (events_.size() == 1) {
            PostMessageW(window_, kDeliver, 0, 0);
        }
    }

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        } else if (message == kDeliver) {
            auto* channel = reinterpret_cast<Channel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (channel != nullptr) {
                channel->deliver();
            }
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void deliver() {
        // A handler with a message loop of its own leaves the newer events to the loop below.
        if (delivering_) {
            return;
        }
        delivering_ = true;
        for (;;) {
            std::deque<Event> events;
            {
                const std::lock_guard lock(mutex_);
                events.swap(events_);
            }
            if (events.empty()) {
                break;
            }
            for (const Event& event : events) {
                if (const auto* ring = std::get_if<Ring>(&event)) {
                    if (onCall_) {
                        onCall_(ring->caller, ring->called);
                    }
                } else {
                    status(std::get<platform::CallSourceStatus>(event));
                }
            }
        }
        delivering_ = false;
    }

    CallHandler onCall_;
    StatusHandler onStatus_;
    HWND window_ = nullptr;
    bool delivering_ = false;
    std::mutex mutex_;
    std::deque<Event> events_;
};

// Resolves, connects and reads on a thread of its own; every wait also ends on the stop event,
// so that the source goes without delay.
class CallMonitorSource::Worker {
  public:
    Worker(std::string host, std::uint16_t port, CallMonitorTiming timing, Channel& channel)
        : host_(std::move(host)),
          port_(port),
          timing_(timing),
          channel_(channel),
          stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = std::thread([this] { run(); });
    }
    ~Worker() {
        SetEvent(stop_.get());
        thread_.join();
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

  private:
    enum class Wake { Stop, Event, Timeout };

    Wake wait(HANDLE event, DWORD milliseconds) const {
        const HANDLE handles[] = {stop_.get(), event};
        const DWORD count = event == nullptr ? 1 : 2;
        switch (WaitForMultipleObjects(count, handles, FALSE, milliseconds)) {
            case WAIT_OBJECT_0 + 1:
                return Wake::Event;
            case WAIT_TIMEOUT:
                return Wake::Timeout;
            default:
                return Wake::Stop;
        }
    }

    bool stopped() const { return WaitForSingleObject(stop_.get(), 0) != WAIT_TIMEOUT; }

    void run() {
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
            if (wait(nullptr, static_cast<DWORD>(pause.count())) == Wake::Stop) {
                return;
            }
        }
    }

    Addresses resolve(MonitorFault& fault) {
        const std::wstring host = Utf8ToWide(host_);
        const std::wstring port = std::to_wstring(port_);
        ADDRINFOEXW hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_protocol = IPPROTO_TCP;
        ADDRINFOEXW* found = nullptr;
        const UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        OVERLAPPED overlapped{};
        overlapped.hEvent = done.get();
        HANDLE lookup = nullptr;
        int error = GetAddrInfoExW(host.c_str(), port.c_str(), NS_DNS, nullptr, &hints, &found,
                                   nullptr, &overlapped, nullptr, &lookup);
        if (error == WSA_IO_PENDING) {
            if (wait(done.get(), INFINITE) == Wake::Stop) {
                GetAddrInfoExCancel(&lookup);
            }
            // The lookup writes into this frame until it reports its end.
            WaitForSingleObject(done.get(), INFINITE);
            error = GetAddrInfoExOverlappedResult(&overlapped);
        } else if (error != NO_ERROR) {
            // No asynchronous lookup here: the worker may wait, the window does not.
            error = GetAddrInfoExW(host.c_str(), port.c_str(), NS_DNS, nullptr, &hints, &found,
                                   nullptr, nullptr, nullptr, nullptr);
        }
        Addresses addresses(error == NO_ERROR ? found : nullptr);
        if (!addresses) {
            fault = FaultOf(error);
        }
        return addresses;
    }

    UniqueSocket connectAny(const ADDRINFOEXW* addresses, MonitorFault& fault) {
        for (const ADDRINFOEXW* address = addresses; address != nullptr && !stopped();
             // mingw-w64 declares the link with a misspelt struct tag.
             address = reinterpret_cast<const ADDRINFOEXW*>(address->ai_next)) {
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
            if (wake == Wake::Stop ||
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
            if (const auto ring = DecodeCallMonitorLine(line)) {
                channel_.post(Ring{std::string(ring->caller), std::string(ring->called)});
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
    Channel& channel_;
    UniqueHandle stop_;
    std::thread thread_;
};

CallMonitorSource::CallMonitorSource(std::string host, std::uint16_t port, CallMonitorTiming timing)
    : host_(std::move(host)), port_(port), timing_(timing) {}

CallMonitorSource::~CallMonitorSource() = default;

void CallMonitorSource::start(CallHandler onCall, StatusHandler onStatus) {
    channel_ = std::make_unique<Channel>(std::move(onCall), std::move(onStatus));
    if (!channel_->ok()) {
        channel_->status({false, CallMonitorUnavailable(host_, port_, "kein Nachrichtenfenster")});
        return;
    }
    channel_->status({false, CallMonitorConnecting(host_, port_)});
    worker_ = std::make_unique<Worker>(host_, port_, timing_, *channel_);
}

}  // namespace kw::win32
