// klingelwart-ring.exe CALLER CALLED
//
// The Windows twin of klingelwart-ring: hands the two numbers, exactly as given, to the running
// Klingelwart of the same user over its pipe and exits. Exit status 0 when the call was handed
// over, 1 when nobody takes it (Klingelwart not running, not answering, a pipe of someone else),
// 2 for a wrong call of this tool (argument count, numbers too long).

#include <string>
#include <string_view>

#include "core/ring_message.h"
#include "platform/win32/ring_pipe.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/windows_api.h"

namespace {

using kw::win32::UniqueHandle;

constexpr int kHandedOver = 0;
constexpr int kNotTaken = 1;
constexpr int kWrongCall = 2;

// How long a Klingelwart too busy to take the connection is waited for.
constexpr ULONGLONG kTimeoutMilliseconds = 5000;

// A console shows UTF-16 only when written as such; a file or pipe gets UTF-8.
void WriteError(std::string_view text) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(error, &mode)) {
        const std::wstring wide = kw::win32::Utf8ToWide(text);
        WriteConsoleW(error, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

int Say(std::string_view text, int status) {
    std::string line = "klingelwart-ring: ";
    line.append(text);
    line.append("\r\n");
    WriteError(line);
    return status;
}

int NotAnswering(const std::string& name) {
    return Say("Klingelwart antwortet nicht: " + name + " nimmt keinen Anruf an.", kNotTaken);
}

int CannotReport(const std::string& name, DWORD cause) {
    return Say("Anruf kann nicht an " + name +
                   " gemeldet werden: " + kw::win32::Win32ErrorText(cause) + ".",
               kNotTaken);
}

int Send(const kw::win32::UserSid& user, const std::string& message) {
    const std::wstring wideName = kw::win32::RingPipeName(user);
    const std::string name = kw::win32::WideToUtf8(wideName);
    const ULONGLONG deadline = GetTickCount64() + kTimeoutMilliseconds;
    UniqueHandle pipe;
    for (;;) {
        // Identification only: the server must not act as this user.
        pipe.reset(CreateFileW(
            wideName.c_str(), GENERIC_WRITE | READ_CONTROL, 0, nullptr, OPEN_EXISTING,
            FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr));
        if (pipe) {
            break;
        }
        const DWORD cause = GetLastError();
        if (cause == ERROR_FILE_NOT_FOUND) {
            return Say("Klingelwart läuft nicht: niemand wartet auf Anrufe unter " + name + ".",
                       kNotTaken);
        }
        if (cause != ERROR_PIPE_BUSY) {
            return CannotReport(name, cause);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return NotAnswering(name);
        }
        // Returns early when the pipe goes away; the next attempt tells why.
        WaitNamedPipeW(wideName.c_str(), static_cast<DWORD>(deadline - now));
    }
    if (!kw::win32::IsOwnedBy(pipe.get(), user)) {
        return Say("Anruf wird nicht gemeldet: " + name + " gehört nicht diesem Benutzer.",
                   kNotTaken);
    }

    // Overlapped, so that a Klingelwart that does not read cannot hold this tool forever.
    const UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!event) {
        return CannotReport(name, GetLastError());
    }
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    DWORD written = 0;
    if (!WriteFile(pipe.get(), message.data(), static_cast<DWORD>(message.size()), nullptr,
                   &overlapped)) {
        const DWORD cause = GetLastError();
        if (cause != ERROR_IO_PENDING) {
            return CannotReport(name, cause);
        }
        const ULONGLONG now = GetTickCount64();
        const DWORD wait = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        if (WaitForSingleObject(event.get(), wait) != WAIT_OBJECT_0) {
            CancelIoEx(pipe.get(), &overlapped);
            GetOverlappedResult(pipe.get(), &overlapped, &written, TRUE);
            return NotAnswering(name);
        }
    }
    if (!GetOverlappedResult(pipe.get(), &overlapped, &written, TRUE)) {
        return CannotReport(name, GetLastError());
    }
    if (written != message.size()) {
        return CannotReport(name, ERROR_WRITE_FAULT);
    }
    return kHandedOver;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        WriteError(
            "Aufruf: klingelwart-ring ANRUFER ANGERUFENE_NUMMER\r\n"
            "Meldet dem laufenden Klingelwart einen Anruf von ANRUFER auf der Leitung\r\n"
            "ANGERUFENE_NUMMER. Beide Texte werden genau so übergeben, wie sie ankommen.\r\n");
        return kWrongCall;
    }
    const std::string caller = kw::win32::WideToUtf8(argv[1]);
    const std::string called = kw::win32::WideToUtf8(argv[2]);
    if (!kw::FitsRingMessage(caller, called)) {
        return Say("Die Nummern sind zu lang (zusammen höchstens " +
                       std::to_string(kw::kMaxRingMessage - kw::kRingHeaderSize) +
                       " Bytes); der Anruf wird nicht gemeldet.",
                   kWrongCall);
    }
    kw::Result<kw::win32::UserSid> user = kw::win32::UserSid::OfThisProcess();
    if (!user.ok()) {
        return Say("Anruf kann nicht gemeldet werden: " + user.failure().description + ".",
                   kNotTaken);
    }
    return Send(user.value(), kw::EncodeRing(caller, called));
}
