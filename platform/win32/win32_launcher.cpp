#include "platform/win32/win32_launcher.h"

#include <cstdint>
#include <new>
#include <string_view>
#include <vector>

#include "core/error_numbers.h"
#include "core/web_address.h"
#include "platform/win32/com/com_apartment.h"
#include "platform/win32/command_line.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_program_info.h"
#include "platform/win32/windows_api.h"

// After windows_api.h: the shell header must not bring the MessageBox macro back first.
#include <shellapi.h>

namespace kw::win32 {

namespace {

constexpr std::string_view kBatchRefused =
    "Die übermittelte Rufnummer enthält Zeichen, die die Eingabeaufforderung (cmd.exe) als Befehl "
    "lesen würde (& | < > ^ % \" ( ) ! oder einen Zeilenumbruch). Eine Stapelverarbeitungsdatei "
    "(.bat, .cmd) wird mit dieser Nummer aus Sicherheitsgründen nicht gestartet.";

// Calls a Win32 function that fills a text buffer and returns the length it wrote, or the size
// it needs when the buffer is too small (and 0 on failure).
template <class Fill>
std::wstring GrowingText(Fill fill) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int round = 0; round < 8; ++round) {
        const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        buffer.resize(static_cast<std::size_t>(length) + 1);
    }
    return {};
}

std::wstring ModuleDirectory() {
    const std::wstring path = Win32ProgramInfo::modulePath();
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The directories CreateProcessW searches, in its order, as a search path.
std::wstring ProgramSearchPath(const std::wstring& name) {
    std::wstring path = ModuleDirectory();
    if (NeedCurrentDirectoryForExePathW(name.c_str())) {
        path += L";.";
    }
    const std::wstring system =
        GrowingText([](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); });
    const std::wstring windows =
        GrowingText([](wchar_t* buffer, DWORD size) { return GetWindowsDirectoryW(buffer, size); });
    const std::wstring variable = GrowingText(
        [](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(L"PATH", buffer, size); });
    path += L";" + system;
    if (!windows.empty()) {
        path += L";" + windows + L"\\System;" + windows;
    }
    if (!variable.empty()) {
        path += L";" + variable;
    }
    return path;
}

Failure StartFailure(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
            return MakeFailure(kw::error::kFileNotFound);
        case kErrorElevationRequired:
            return FailureWithWin32Detail(kw::error::kAccessDenied, code);
        default:
            return FailureFromWin32(code, kw::error::kPathFileAccess);
    }
}

}  // namespace

std::optional<std::wstring> Win32Launcher::findProgram(const std::wstring& name) {
    if (name.empty() || name.find(L'\0') != std::wstring::npos) {
        return std::nullopt;
    }
    const std::wstring searchPath = ProgramSearchPath(name);
    const std::wstring found = GrowingText([&](wchar_t* buffer, DWORD size) {
        return SearchPathW(searchPath.c_str(), name.c_str(), L".exe", size, buffer, nullptr);
    });
    if (found.empty()) {
        return std::nullopt;
    }
    const DWORD attributes = GetFileAttributesW(found.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return found;
}

bool Win32Launcher::isBatchFile(const std::wstring& path) {
    std::wstring name = path;
    // Windows ignores trailing dots and blanks of a file name.
    while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) {
        name.pop_back();
    }
    if (name.size() < 4) {
        return false;
    }
    std::wstring extension = name.substr(name.size() - 4);
    for (wchar_t& c : extension) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return extension == L".bat" || extension == L".cmd";
}

void Win32Launcher::openAddress(const FilledCommand& command) {
    try {
        const std::wstring address = Utf8ToWide(WebAddress(command));
        // The shell may hand the address to extensions that need COM on this thread.
        const ComApartment apartment;
        SHELLEXECUTEINFOW execute{};
        execute.cbSize = sizeof(execute);
        // Done before the apartment closes; failures stay silent, as nobody looks at them.
        execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
        execute.lpVerb = L"Open";
        execute.lpFile = address.c_str();
        execute.nShow = SW_SHOWNORMAL;
        (void)ShellExecuteExW(&execute);
    } catch (...) {
    }
}

MaybeFailure Win32Launcher::startProgram(const FilledCommand& command) {
    try {
        const command_line::WideCommand wide = command_line::ToWide(command);
        Result<std::vector<std::wstring>> candidates = command_line::ProgramCandidates(wide);
        if (!candidates.ok()) {
            return candidates.failure();
        }
        std::optional<std::wstring> program;
        for (const std::wstring& candidate : candidates.value()) {
            program = findProgram(candidate);
            if (program) {
                break;
            }
        }
        if (!program) {
            return MakeFailure(kw::error::kFileNotFound);
        }

        const bool batch = isBatchFile(*program);
        if (batch) {
            for (const command_line::WidePiece& piece : wide) {
                if (piece.fromNumber && command_line::HoldsBatchMetacharacter(piece.text)) {
                    return Failure{kw::error::kInvalidCall, std::string(kBatchRefused)};
                }
            }
        }
        Result<std::wstring> line = command_line::Build(wide, batch);
        if (!line.ok()) {
            return line.failure();
        }

        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(program->c_str(), line.value().data(), nullptr, nullptr, FALSE,
                            CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &started)) {
            return StartFailure(GetLastError());
        }
        // Not waited for; the handles are only closed.
        const UniqueHandle process(started.hProcess);
        const UniqueHandle thread(started.hThread);
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return MakeFailure(kw::error::kOutOfMemory);
    }
}

}  // namespace kw::win32
