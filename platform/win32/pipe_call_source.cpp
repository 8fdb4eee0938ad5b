#include "platform/win32/pipe_call_source.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/receiving_status.h"
#include "core/ring_message.h"
#include "platform/win32/ring_pipe.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {
namespace {

constexpr UINT kCallsWaiting = WM_APP + 1;
constexpr UINT kStatusChanged = WM_APP + 2;
constexpr wchar_t kWindowClass[] = L"KlingelwartPipeCalls";

// What the message-only window hands its messages to.
class WindowTarget {
  public:
    virtual void deliverCalls() = 0;
    virtual void deliverStatus() = 0;

  protected:
    ~WindowTarget() = default;
};

LRESULT CALLBACK CallsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* target = reinterpret_cast<WindowTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (target == nullptr || (message != kCallsWaiting && message != kStatusChanged)) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // An exception must not unwind through the system's frames that called this.
    try {
        if (message == kCallsWaiting) {
            target->deliverCalls();
        } else {
            target->deliverStatus();
        }
    } catch (...) {
    }
    return 0;
}

struct Call {
    std::string caller;
    std::string called;
};

// What the worker thread hands its results to.
class WorkerTarget {
  public:
    virtual void queueCall(Call call) = 0;
    virtual void lose(DWORD cause) = 0;

  protected:
    ~WorkerTarget() = default;
};

// Owner and only ACE: the user's SID. Read and write include creating further instances.
class UserOnlySecurity {
  public:
    explicit UserOnlySecurity(const UserSid& user)
        : acl_((sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(user.get())) /
                   sizeof(DWORD) +
               1) {
        ACL* acl = reinterpret_cast<ACL*>(acl_.data());
        ok_ = InitializeAcl(acl, static_cast<DWORD>(acl_.size() * sizeof(DWORD)), ACL_REVISION) &&
              AddAccessAllowedAce(acl, ACL_REVISION, FILE_GENERIC_READ | FILE_GENERIC_WRITE,
                                  user.get()) &&
              InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorOwner(&descriptor_, user.get(), FALSE) &&
              SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE);
        error_ = ok_ ? 0 : GetLastError();
        attributes_.nLength = sizeof attributes_;
        attributes_.lpSecurityDescriptor = &descriptor_;
        attributes_.bInheritHandle = FALSE;
    }
    UserOnlySecurity(const UserOnlySecurity&) = delete;
    UserOnlySecurity& operator=(const UserOnlySecurity&) = delete;

    bool ok() const { return ok_; }
    DWORD error() const { return error_; }
    SECURITY_ATTRIBUTES* attributes() { return &attributes_; }

  private:
    std::vector<DWORD> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool ok_ = false;
    DWORD error_ = 0;
};

struct Instance {
    enum class Stage { kConnecting, kReading, kRestart, kDead };

    UniqueHandle pipe;
    UniqueHandle event;
    OVERLAPPED overlapped{};
    Stage stage = Stage::kDead;
    bool ioPending = false;       // an overlapped operation may still use `overlapped` and `buffer`
    bool connectedEarly = false;  // the client came before ConnectNamedPipe
    int failures = 0;
    std::chrono::steady_clock::time_point since;
    std::vector<char> buffer = std::vector<char>(kMaxRingMessage);
};

}  // namespace

struct PipeCallSource::State final : WindowTarget, WorkerTarget {
    ~State() {
        if (worker.joinable()) {
            SetEvent(stop.get());
            worker.join();
        }
        if (window != nullptr) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            DestroyWindow(window);
        }
    }

    void deliverCalls() override {
        std::vector<Call> batch;
        {
            const std::lock_guard lock(mutex);
            posted = false;
            // A handler's own message loop: the outer delivery posts again when it is done.
            if (delivering) {
                return;
            }
            const std::size_t count = std::min(queue.size(), kMaxBatch);
            for (std::size_t index = 0; index < count; ++index) {
                batch.push_back(std::move(queue.front()));
                queue.pop_front();
            }
        }
        struct Delivering {
            explicit Delivering(State& state) : state_(state) { state_.delivering = true; }
            ~Delivering() {
                state_.delivering = false;
                state_.postCalls();
            }
            Delivering(const Delivering&) = delete;
            Delivering& operator=(const Delivering&) = delete;
            State& state_;
        } guard(*this);
        for (const Call& call : batch) {
            if (onCall) {
                onCall(call.caller, call.called);
            }
        }
    }

    void deliverStatus() override {
        std::optional<platform::CallSourceStatus> status;
        {
            const std::lock_guard lock(mutex);
            status = std::exchange(lostStatus, std::nullopt);
        }
        if (status && onStatus) {
            onStatus(*status);
        }
    }

    // Any thread.
    void postCalls() {
        const std::lock_guard lock(mutex);
        if (!queue.empty() && !posted) {
            posted = PostMessageW(window, kCallsWaiting, 0, 0) != 0;
        }
    }

    // Worker thread.
    void queueCall(Call call) override {
        {
            const std::lock_guard lock(mutex);
            if (queue.size() >= kMaxQueued) {
                return;
            }
            queue.push_back(std::move(call));
        }
        postCalls();
    }

    void lose(DWORD cause) override {
        const std::lock_guard lock(mutex);
        lostStatus = platform::CallSourceStatus{
            false, NotReceiving("Die Verbindung für Anrufe unter " + WideToUtf8(name) +
                                " ist ausgefallen: " + Win32ErrorText(cause) + ".")};
        PostMessageW(window, kStatusChanged, 0, 0);
    }

    CallHandler onCall;
    StatusHandler onStatus;
    std::wstring name;
    HWND window = nullptr;
    UniqueHandle stop;
    bool delivering = false;  // UI thread only

    std::mutex mutex;
    std::deque<Call> queue;
    bool posted = false;  // a kCallsWaiting is on its way
    std::optional<platform::CallSourceStatus> lostStatus;

    // Joined by ~State before the window and the handlers go.
    std::thread worker;
};

namespace {

// Serves the instances until `stop` is set. Every step that completes at once sets the
// instance's event, so that all instances take turns through one wait.
class Worker {
  public:
    Worker(HANDLE stop, WorkerTarget& target, std::vector<std::unique_ptr<Instance>> instances)
        : stop_(stop), target_(target), instances_(std::move(instances)) {}

    ~Worker() {
        for (auto& instance : instances_) {
            if (instance->ioPending) {
                DWORD ignored = 0;
                CancelIoEx(instance->pipe.get(), &instance->overlapped);
                GetOverlappedResult(instance->pipe.get(), &instance->overlapped, &ignored, TRUE);
            }
        }
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    void run() {
        for (auto& instance : instances_) {
            connect(*instance);
        }
        std::vector<HANDLE> handles;
        std::vector<Instance*> live;
        bool lost = false;
        for (;;) {
            handles.assign(1, stop_);
            live.clear();
            for (auto& instance : instances_) {
                if (instance->stage != Instance::Stage::kDead) {
                    handles.push_back(instance->event.get());
                    live.push_back(instance.get());
                }
            }
            if (live.empty() && !lost) {
                lost = true;
                target_.lose(lastError_);
            }
            const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(handles.size()),
                                                        handles.data(), FALSE, waitTime());
            if (result == WAIT_OBJECT_0) {
                return;
            }
            if (result == WAIT_FAILED) {
                // Nothing is served any more: the phone must not go on saying it receives.
                if (!lost) {
                    target_.lose(GetLastError());
                }
                return;
            }
            for (Instance* instance : live) {
                if (WaitForSingleObject(instance->event.get(), 0) == WAIT_OBJECT_0) {
                    completed(*instance);
                } else if (instance->stage == Instance::Stage::kReading && expired(*instance)) {
                    giveUp(*instance);
                }
            }
        }
    }

  private:
    using Clock = std::chrono::steady_clock;

    void begin(Instance& instance) {
        ResetEvent(instance.event.get());
        instance.overlapped = OVERLAPPED{};
        instance.overlapped.hEvent = instance.event.get();
    }

    // Done at once, or nothing pending to wait for: the next round takes it.
    static void again(Instance& instance, Instance::Stage stage) {
        instance.stage = stage;
        SetEvent(instance.event.get());
    }

    void die(Instance& instance, DWORD cause) {
        instance.stage = Instance::Stage::kDead;
        lastError_ = cause;
    }

    void connect(Instance& instance) {
        begin(instance);
        instance.connectedEarly = false;
        instance.ioPending = false;
        if (ConnectNamedPipe(instance.pipe.get(), &instance.overlapped)) {
            instance.ioPending = true;
            again(instance, Instance::Stage::kConnecting);
            return;
        }
        const DWORD cause = GetLastError();
        switch (cause) {
            case ERROR_IO_PENDING:
                instance.ioPending = true;
                instance.stage = Instance::Stage::kConnecting;
                return;
            case ERROR_PIPE_CONNECTED:
            // Came, wrote and went before this: what it wrote is still there to read.
            case ERROR_NO_DATA:
                instance.connectedEarly = true;
                again(instance, Instance::Stage::kConnecting);
                return;
            default:
                die(instance, cause);
        }
    }

    void read(Instance& instance) {
        begin(instance);
        instance.since = Clock::now();
        instance.ioPending = false;
        if (ReadFile(instance.pipe.get(), instance.buffer.data(),
                     static_cast<DWORD>(instance.buffer.size()), nullptr, &instance.overlapped)) {
            instance.ioPending = true;
            again(instance, Instance::Stage::kReading);
            return;
        }
        const DWORD cause = GetLastError();
        if (cause == ERROR_IO_PENDING || cause == ERROR_MORE_DATA) {
            instance.ioPending = true;
            if (cause == ERROR_MORE_DATA) {
                SetEvent(instance.event.get());
            }
            instance.stage = Instance::Stage::kReading;
            return;
        }
        again(instance, Instance::Stage::kRestart);  // the client is gone
    }

    void restart(Instance& instance) {
        DisconnectNamedPipe(instance.pipe.get());
        connect(instance);
    }

    void completed(Instance& instance) {
        DWORD size = 0;
        switch (instance.stage) {
            case Instance::Stage::kConnecting:
                if (instance.connectedEarly ||
                    GetOverlappedResult(instance.pipe.get(), &instance.overlapped, &size, FALSE)) {
                    instance.ioPending = false;
                    instance.failures = 0;
                    read(instance);
                    return;
                }
                instance.ioPending = false;
                // A fault that repeats would otherwise spin this thread.
                if (++instance.failures > 3) {
                    die(instance, GetLastError());
                    return;
                }
                restart(instance);
                return;
            case Instance::Stage::kReading:
                // Oversized messages fail with ERROR_MORE_DATA and are dropped.
                if (GetOverlappedResult(instance.pipe.get(), &instance.overlapped, &size, FALSE)) {
                    take(instance, size);
                }
                instance.ioPending = false;
                restart(instance);
                return;
            case Instance::Stage::kRestart:
                restart(instance);
                return;
            case Instance::Stage::kDead:
                return;
        }
    }

    bool expired(const Instance& instance) const {
        return Clock::now() - instance.since >= PipeCallSource::kSilenceTimeout;
    }

    // A message that arrived just before the cancel still counts.
    void giveUp(Instance& instance) {
        DWORD size = 0;
        CancelIoEx(instance.pipe.get(), &instance.overlapped);
        if (GetOverlappedResult(instance.pipe.get(), &instance.overlapped, &size, TRUE)) {
            take(instance, size);
        }
        instance.ioPending = false;
        restart(instance);
    }

    void take(const Instance& instance, DWORD size) {
        std::optional<RingCall> call = DecodeRing(std::string_view(
            instance.buffer.data(), std::min<std::size_t>(size, instance.buffer.size())));
        if (call) {
            target_.queueCall(Call{std::move(call->caller), std::move(call->called)});
        }
    }

    // Until the earliest silent client is given up on.
    DWORD waitTime() const {
        std::optional<Clock::time_point> earliest;
        for (const auto& instance : instances_) {
            if (instance->stage == Instance::Stage::kReading &&
                (!earliest || instance->since < *earliest)) {
                earliest = instance->since;
            }
        }
        if (!earliest) {
            return INFINITE;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            *earliest + PipeCallSource::kSilenceTimeout - Clock::now());
        return left.count() <= 0 ? 0 : static_cast<DWORD>(left.count()) + 1;
    }

    HANDLE stop_;
    WorkerTarget& target_;
    std::vector<std::unique_ptr<Instance>> instances_;
    DWORD lastError_ = ERROR_GEN_FAILURE;
};

bool RegisterWindowClass(HINSTANCE module) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = CallsWindowProc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

PipeCallSource::PipeCallSource() : state_(std::make_unique<State>()) {}

PipeCallSource::~PipeCallSource() = default;

void PipeCallSource::start(CallHandler onCall, StatusHandler onStatus) {
    State& state = *state_;
    state.onCall = std::move(onCall);
    state.onStatus = std::move(onStatus);
    const auto refuse = [&state](const std::string& reason) {
        if (state.onStatus) {
            state.onStatus({false, NotReceiving(reason)});
        }
    };
    Result<UserSid> user = UserSid::OfThisProcess();
    if (!user.ok()) {
        refuse(user.failure().description);
        return;
    }
    state.name = RingPipeName(user.value());
    const std::string name = WideToUtf8(state.name);
    const auto cannotSetUp = [&](DWORD cause) {
        refuse("Die Verbindung für Anrufe unter " + name +
               " kann nicht eingerichtet werden: " + Win32ErrorText(cause) + ".");
    };
    UserOnlySecurity security(user.value());
    if (!security.ok()) {
        cannotSetUp(security.error());
        return;
    }

    std::vector<std::unique_ptr<Instance>> instances;
    for (std::size_t index = 0; index < kInstances; ++index) {
        auto instance = std::make_unique<Instance>();
        // The first instance must be a new pipe: one made before by anyone is not taken over.
        const DWORD openMode = PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED |
                               (index == 0 ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
        instance->pipe.reset(CreateNamedPipeW(
            state.name.c_str(), openMode,
            PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
            static_cast<DWORD>(kInstances), 0, static_cast<DWORD>(kMaxRingMessage), 0,
            security.attributes()));
        if (instance->pipe) {
            instance->event.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        }
        if (!instance->pipe || !instance->event) {
            const DWORD cause = GetLastError();
            if (index > 0) {
                break;  // fewer instances still serve
            }
            if (cause == ERROR_ACCESS_DENIED || cause == ERROR_PIPE_BUSY) {
                refuse(name +
                       " ist schon belegt, von einem anderen Programm; Anrufe über "
                       "klingelwart-ring kommen so nicht an.");
            } else {
                cannotSetUp(cause);
            }
            return;
        }
        instances.push_back(std::move(instance));
    }

    const HINSTANCE module = GetModuleHandleW(nullptr);
    if (RegisterWindowClass(module)) {
        state.window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       module, nullptr);
    }
    state.stop.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (state.window == nullptr || !state.stop) {
        cannotSetUp(GetLastError());
        return;
    }
    SetWindowLongPtrW(state.window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(static_cast<WindowTarget*>(&state)));
    try {
        state.worker = std::thread([&state, instances = std::move(instances)]() mutable {
            Worker(state.stop.get(), state, std::move(instances)).run();
        });
    } catch (const std::exception&) {
        cannotSetUp(ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    if (state.onStatus) {
        state.onStatus({true, ReceivingThrough("klingelwart-ring (" + name + ")")});
    }
}

}  // namespace kw::win32
