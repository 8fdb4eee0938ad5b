#include "tests/win32/install/shortcut_target.h"

#include "platform/win32/windows_api.h"

#include <shlobj.h>

#include "platform/win32/com/com_apartment.h"
#include "platform/win32/com/com_ptr.h"

namespace kw::win32::install {

std::filesystem::path ShortcutTarget(const std::filesystem::path& link) {
    const ComApartment apartment;
    ComPtr<IShellLinkW> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                shellLink.putVoid()))) {
        return {};
    }
    ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.putVoid())) ||
        FAILED(file->Load(link.c_str(), STGM_READ))) {
        return {};
    }
    wchar_t target[MAX_PATH] = {};
    if (FAILED(shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) {
        return {};
    }
    return target;
}

}  // namespace kw::win32::install
