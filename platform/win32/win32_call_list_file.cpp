#include "platform/win32/win32_call_list_file.h"

// clang-format off
#include "platform/win32/windows_api.h"
#include <sddl.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <memory>

#include "platform/win32/ring_pipe.h"
#include "platform/win32/win32_error.h"

namespace kw::win32 {

namespace {

// Of a file far larger than 20,000 calls take, only the end is read.
constexpr LONGLONG kMaxRead = 64 * 1024 * 1024;

std::string Failed(DWORD code) {
    return Win32ErrorText(code);
}

// A security descriptor that lets only this user in, for new directories and files.
class PrivateSecurity {
  public:
    PrivateSecurity() {
        Result<UserSid> user = UserSid::OfThisProcess();
        if (!user.ok()) {
            return;
        }
        const std::wstring sddl = L"D:P(A;OICI;FA;;;" + user.value().text() + L")";
        PSECURITY_DESCRIPTOR raw = nullptr;
        if (ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                 &raw, nullptr)) {
            descriptor_.reset(raw);
            attributes_.lpSecurityDescriptor = raw;
        }
    }
    // Null when the user's SID cannot be had: the folder's inherited rights apply then.
    SECURITY_ATTRIBUTES* get() { return descriptor_ ? &attributes_ : nullptr; }

  private:
    struct LocalFreer {
        void operator()(void* p) const { LocalFree(p); }
    };
    std::unique_ptr<void, LocalFreer> descriptor_;
    SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

std::string EnsureDirectory(const std::wstring& directory, PrivateSecurity& security) {
    if (CreateDirectoryW(directory.c_str(), security.get()) ||
        GetLastError() == ERROR_ALREADY_EXISTS) {
        return {};
    }
    return Failed(GetLastError());
}

DWORD WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            return GetLastError();
        }
        if (written == 0) {
            return ERROR_DISK_FULL;
        }
        bytes.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

}  // namespace

std::wstring CallListDirectory() {
    PWSTR raw = nullptr;
    std::wstring directory;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &raw))) {
        directory = std::wstring(raw) + L"\\Klingelwart";
    }
    CoTaskMemFree(raw);
    return directory;
}

Win32CallListFile::Win32CallListFile(std::wstring directory)
    : directory_(std::move(directory)), path_(directory_ + L"\\Anrufliste") {}

platform::CallListFileRead Win32CallListFile::read() {
    const UniqueHandle file(CreateFileW(path_.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {{}, missing ? std::string() : Failed(error)};
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        return {{}, Failed(GetLastError())};
    }
    LARGE_INTEGER start{};
    start.QuadPart = size.QuadPart > kMaxRead ? size.QuadPart - kMaxRead : 0;
    SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN);
    std::string bytes(static_cast<std::size_t>(size.QuadPart - start.QuadPart), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - got, 1 << 20));
        if (!ReadFile(file.get(), bytes.data() + got, want, &n, nullptr) || n == 0) {
            break;  // what came is read
        }
        got += n;
    }
    bytes.resize(got);
    return {std::move(bytes), {}};
}

std::string Win32CallListFile::openForAppend() {
    if (file_) {
        return {};
    }
    PrivateSecurity security;
    if (std::string error = EnsureDirectory(directory_, security); !error.empty()) {
        return error;
    }
    file_.reset(CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                            security.get(), OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file_ ? std::string() : Failed(GetLastError());
}

std::string Win32CallListFile::append(std::string_view bytes) {
    if (std::string error = openForAppend(); !error.empty()) {
        return error;
    }
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(file_.get(), LARGE_INTEGER{}, &end, FILE_END)) {
        return Failed(GetLastError());
    }
    DWORD error = WriteAll(file_.get(), bytes);
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file_.get())) {
        error = GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        // Nothing of a failed record stays behind for the next one to follow.
        if (SetFilePointerEx(file_.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file_.get())) {
            FlushFileBuffers(file_.get());
        }
        return Failed(error);
    }
    return {};
}

std::string Win32CallListFile::replace(std::string_view contents) {
    PrivateSecurity security;
    if (std::string error = EnsureDirectory(directory_, security); !error.empty()) {
        return error;
    }
    const std::wstring temporary = path_ + L".neu";
    DWORD error = ERROR_SUCCESS;
    {
        const UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, security.get(),
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return Failed(GetLastError());
        }
        error = WriteAll(file.get(), contents);
        if (error == ERROR_SUCCESS && !FlushFileBuffers(file.get())) {
            error = GetLastError();
        }
    }
    file_.reset();  // an open file cannot be replaced
    if (error == ERROR_SUCCESS &&
        !MoveFileExW(temporary.c_str(), path_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        DeleteFileW(temporary.c_str());
        return Failed(error);
    }
    return {};
}

}  // namespace kw::win32
