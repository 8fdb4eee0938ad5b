// Stands in for a started program in the Windows launcher tests. Writes to the file named by the
// environment variable KW_RECORD_FILE (so the command line holds only what the test passes), as
// UTF-8 fields "<length>:<bytes>\n":
//   the show command from its STARTUPINFO ("-" when STARTF_USESHOWWINDOW is not set),
//   its command line exactly,
//   the number of words CommandLineToArgvW finds, then each word,
//   the number of arguments the C runtime passed to wmain, then each argument.
// Writes a temporary file and moves it into place, so a reader never sees half of it. A first
// argument "--sleep=<ms>" makes it wait that long before it writes.
#include <cwchar>
#include <string>
#include <string_view>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <shellapi.h>

namespace {

void AddField(std::string& out, std::string_view value) {
    out += std::to_string(value.size());
    out += ':';
    out += value;
    out += '\n';
}

void AddField(std::string& out, std::wstring_view value) {
    AddField(out, std::string_view(kw::win32::WideToUtf8(value)));
}

std::wstring Variable(const wchar_t* name) {
    std::wstring value(32768, L'\0');
    const DWORD length =
        GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    value.resize(length < value.size() ? length : 0);
    return value;
}

bool WriteWhole(const std::wstring& path, const std::string& data) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
        written == data.size();
    CloseHandle(file);
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring target = Variable(L"KW_RECORD_FILE");
    if (target.empty()) {
        return 2;
    }
    const std::wstring_view sleep = L"--sleep=";
    if (argc > 1 && std::wstring_view(argv[1]).substr(0, sleep.size()) == sleep) {
        Sleep(static_cast<DWORD>(std::wcstoul(argv[1] + sleep.size(), nullptr, 10)));
    }
    std::string out;

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    AddField(out, (startup.dwFlags & STARTF_USESHOWWINDOW) != 0
                      ? std::to_string(startup.wShowWindow)
                      : std::string("-"));

    const wchar_t* line = GetCommandLineW();
    AddField(out, std::wstring_view(line));

    int count = 0;
    wchar_t** words = CommandLineToArgvW(line, &count);
    AddField(out, std::to_string(words != nullptr ? count : -1));
    for (int i = 0; words != nullptr && i < count; ++i) {
        AddField(out, std::wstring_view(words[i]));
    }
    LocalFree(words);

    AddField(out, std::to_string(argc));
    for (int i = 0; i < argc; ++i) {
        AddField(out, std::wstring_view(argv[i]));
    }

    const std::wstring temporary = target + L".tmp" + std::to_wstring(GetCurrentProcessId());
    if (!WriteWhole(temporary, out) ||
        !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporary.c_str());
        return 1;
    }
    return 0;
}
