#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/call_sources.h"
#include "ui/main_screen.h"
#include "ui/win32/accelerator_table.h"
#include "ui/win32/control_fonts.h"
#include "ui/win32/layout_controls.h"
#include "ui/win32/tooltips.h"

namespace kw::win32 {
class PhoneControlSource;
}

namespace kw::winui {

class PhoneControlHost;

// The main window: the caller line, the action and exit buttons, the phone control's box and the
// menus, placed after the layout table at the window's DPI. Every event goes to the MainScreen
// presenter. The window is created hidden; the load sequence decides how it first appears.
class Win32MainScreenView final : public ui::MainScreenView, public ui::CallSourcesView {
  public:
    explicit Win32MainScreenView(HINSTANCE instance);
    ~Win32MainScreenView() override;

    Win32MainScreenView(const Win32MainScreenView&) = delete;
    Win32MainScreenView& operator=(const Win32MainScreenView&) = delete;

    HWND window() const { return window_; }

    // Sends the window's events to the presenter, which must outlive the message loop.
    void connectTo(ui::MainScreen& presenter);

    // Hands the hosted phone control's call notification to `source`, which must outlive the
    // window or be disconnected first.
    void connectPhone(win32::PhoneControlSource& source);
    // Before that source goes while the window stays: its calls then reach nobody.
    void disconnectPhone() noexcept;

    // True once endProgram() has run: nothing that arrives afterwards is shown.
    bool ended() const { return ended_; }

    // The first show, in the state the load sequence left the window.
    void showAsLoaded();

    // Until the program ends; returns the exit code.
    int runMessageLoop();

    void setCallerLine(std::string_view text) override;
    void showCallerLine(std::string_view callerNumber, std::string_view calledNumber,
                        std::string_view callerName) override;
    void setActionEnabled(bool enabled) override;
    void setCaption(std::string_view text) override;
    void setActionCaption(std::string_view text) override;
    void endProgram() override;
    void showMissedCalls(int count) override;
    void showCallSources(const std::vector<platform::CallSourceStatus>& statuses) override;

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id, int code);
    void createControls();
    void placeControls();
    void sizeToClientArea();
    void fitCallerLine();
    HWND control(std::string_view name) const;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    ControlFonts fonts_;  // outlives the controls that use it
    std::optional<LayoutControls> controls_;
    std::unique_ptr<Tooltips> tooltips_;
    std::unique_ptr<PhoneControlHost> phone_;
    AcceleratorTable accelerators_;
    ui::MainScreen* presenter_ = nullptr;
    std::string shownName_;                                            // with shownNumbers_
    std::optional<std::pair<std::string, std::string>> shownNumbers_;  // refitted on DPI changes
    bool ended_ = false;
};

}  // namespace kw::winui
