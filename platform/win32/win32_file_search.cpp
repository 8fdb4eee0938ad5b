#include "platform/win32/win32_file_search.h"

#include <cstdint>
#include <new>
#include <string>

#include "core/error_numbers.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {

namespace {

class FindHandle {
  public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            FindClose(handle_);
        }
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

bool IsOrdinary(const WIN32_FIND_DATAW& entry) {
    constexpr DWORD kNotOrdinary =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (entry.dwFileAttributes & kNotOrdinary) == 0;
}

}  // namespace

Result<bool> Win32FileSearch::resultForError(std::uint32_t code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_NO_MORE_FILES:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return false;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
        case ERROR_FILENAME_EXCED_RANGE:
            return FailureWithWin32Detail(kw::error::kBadFileName, code);
        case ERROR_INVALID_DRIVE:
            return FailureWithWin32Detail(kw::error::kDeviceUnavailable, code);
        case ERROR_NOT_READY:
            return FailureWithWin32Detail(kw::error::kDiskNotReady, code);
        default:
            return FailureFromWin32(code, kw::error::kPathFileAccess);
    }
}

Result<bool> Win32FileSearch::findsOrdinaryFile(std::string_view pattern) {
    try {
        if (pattern.empty()) {
            return false;
        }
        if (pattern.find('\0') != std::string_view::npos) {
            return MakeFailure(kw::error::kBadFileName);
        }
        const std::wstring wide = Utf8ToWide(pattern);
        WIN32_FIND_DATAW entry{};
        const FindHandle search(FindFirstFileExW(wide.c_str(), FindExInfoBasic, &entry,
                                                 FindExSearchNameMatch, nullptr, 0));
        if (!search.valid()) {
            return resultForError(GetLastError());
        }
        do {
            if (IsOrdinary(entry)) {
                return true;
            }
        } while (FindNextFileW(search.get(), &entry));
        const DWORD code = GetLastError();
        return code == ERROR_NO_MORE_FILES ? Result<bool>(false) : resultForError(code);
    } catch (const std::bad_alloc&) {
        return MakeFailure(kw::error::kOutOfMemory);
    }
}

}  // namespace kw::win32
