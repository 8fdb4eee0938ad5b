#include "tests/win32/gui/child_process.h"

#include <string>
#include <thread>

namespace kw::win32::gui {

ChildProcess::ChildProcess(const std::filesystem::path& program, std::wstring_view arguments) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    if (!arguments.empty()) {
        commandLine += L' ';
        commandLine += arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    // Wine now and then refuses a start while the previous program of the prefix winds down.
    for (int attempt = 0; attempt < 5 && !process_; ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        PROCESS_INFORMATION info{};
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            process_.reset(info.hProcess);
            id_ = info.dwProcessId;
            startError_ = 0;
        } else {
            startError_ = GetLastError();
        }
    }
}

ChildProcess::~ChildProcess() {
    kill();
}

bool ChildProcess::running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::awaitExit(std::chrono::milliseconds patience) const {
    if (!process_ || WaitForSingleObject(process_.get(), static_cast<DWORD>(patience.count())) !=
                         WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

void ChildProcess::kill() {
    if (running()) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

}  // namespace kw::win32::gui
