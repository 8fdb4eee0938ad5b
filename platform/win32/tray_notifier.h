#pragma once

#include "platform/notifier.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {

// An icon in the taskbar's notification area for as long as this exists; a call is its balloon,
// which Windows 10 and 11 show as a toast. Balloons have no buttons, so the action caption is
// not used; a click on the balloon or the icon is onActivated. After Explorer restarts
// (TaskbarCreated) the icon is added again.
class TrayNotifier final : public platform::Notifier {
  public:
    TrayNotifier(HICON icon, Handlers handlers);
    ~TrayNotifier() override;

    TrayNotifier(const TrayNotifier&) = delete;
    TrayNotifier& operator=(const TrayNotifier&) = delete;

    void show(std::string_view summary, std::string_view body,
              std::string_view actionCaption) override;
    void withdraw() override;

    // The hidden window that gets the icon's messages, for tests.
    HWND window() const { return window_; }

    static constexpr UINT kIconMessage = WM_APP + 7;

  private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool addIcon();
    void report(bool available);

    HICON icon_;
    Handlers handlers_;
    HWND window_ = nullptr;
    UINT taskbarCreated_ = 0;
    bool added_ = false;
    int reported_ = -1;
};

}  // namespace kw::win32
