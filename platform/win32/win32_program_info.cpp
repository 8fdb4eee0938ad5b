#include "platform/win32/win32_program_info.h"

#include <new>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#ifndef KW_VERSION_MAJOR
#error "KW_VERSION_MAJOR, KW_VERSION_MINOR and KW_VERSION_PATCH come from the project version"
#endif

namespace kw::win32 {

std::wstring Win32ProgramInfo::modulePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        if (buffer.size() >= 65536) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<platform::ProgramVersion> Win32ProgramInfo::fileVersion(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) {
        return std::nullopt;
    }
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", &block, &length) || block == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
    if (fixed->dwSignature != VS_FFI_SIGNATURE) {
        return std::nullopt;
    }
    return platform::ProgramVersion{static_cast<int>(HIWORD(fixed->dwFileVersionMS)),
                                    static_cast<int>(LOWORD(fixed->dwFileVersionMS)),
                                    static_cast<int>(HIWORD(fixed->dwFileVersionLS))};
}

Win32ProgramInfo::Win32ProgramInfo()
    : version_{KW_VERSION_MAJOR, KW_VERSION_MINOR, KW_VERSION_PATCH} {
    try {
        if (const auto own = fileVersion(modulePath())) {
            version_ = *own;
        }
    } catch (const std::bad_alloc&) {
    }
}

std::string Win32ProgramInfo::directory() {
    try {
        const std::wstring path = modulePath();
        const std::size_t slash = path.find_last_of(L"\\/");
        if (slash == std::wstring::npos) {
            return {};
        }
        // "C:\x.exe" lives in "C:\", not in "C:" (the current directory of drive C).
        const bool root = slash == 2 && path[1] == L':';
        return WideToUtf8(path.substr(0, root ? slash + 1 : slash));
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace kw::win32
