#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"
#include "tests/win32/gui/poll_until.h"

namespace kw::win32::gui {

// A program started by a test. It inherits the test's environment. A process still running
// when this goes out of scope is killed, so a failed test leaves nothing behind in the prefix.
class ChildProcess {
  public:
    explicit ChildProcess(const std::filesystem::path& program, std::wstring_view arguments = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return static_cast<bool>(process_); }
    // GetLastError of the last refused start, 0 once started.
    DWORD startError() const { return startError_; }
    DWORD id() const { return id_; }
    bool running() const;

    // The exit code once the process has ended within `patience`.
    std::optional<DWORD> awaitExit(std::chrono::milliseconds patience = kPatience) const;
    void kill();

  private:
    UniqueHandle process_;
    DWORD id_ = 0;
    DWORD startError_ = 0;
};

}  // namespace kw::win32::gui
