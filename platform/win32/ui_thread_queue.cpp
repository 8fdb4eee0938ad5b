#include "platform/win32/ui_thread_queue.h"

#include <utility>

namespace kw::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"KlingelwartUiThreadQueue";
constexpr UINT kDeliver = WM_APP + 7;
constexpr UINT_PTR kRepeatTimer = 1;

}  // namespace

UiThreadQueue::UiThreadQueue() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &UiThreadQueue::windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // already there for a second queue: fine
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, this);
}

UiThreadQueue::~UiThreadQueue() {
    if (window_ != nullptr) {
        KillTimer(window_, kRepeatTimer);
        DestroyWindow(window_);
    }
}

void UiThreadQueue::every(UINT milliseconds, std::function<void()> task) {
    repeated_ = std::move(task);
    if (window_ != nullptr) {
        SetTimer(window_, kRepeatTimer, milliseconds, nullptr);
    }
}

void UiThreadQueue::post(std::function<void()> task) {
    const std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    // One message stands for every task queued until it is handled.
    if (tasks_.size() == 1 && window_ != nullptr) {
        PostMessageW(window_, kDeliver, 0, 0);
    }
}

LRESULT CALLBACK UiThreadQueue::windowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == kDeliver) {
        if (auto* queue =
                reinterpret_cast<UiThreadQueue*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            queue->deliver();
        }
        return 0;
    } else if (message == WM_TIMER && wParam == kRepeatTimer) {
        if (auto* queue =
                reinterpret_cast<UiThreadQueue*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            queue != nullptr && queue->repeated_) {
            queue->repeated_();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void UiThreadQueue::deliver() {
    std::deque<std::function<void()>> tasks;
    {
        const std::lock_guard lock(mutex_);
        tasks.swap(tasks_);
    }
    for (const auto& task : tasks) {
        task();
    }
}

}  // namespace kw::win32
