// Registers the substitute phone control that lies next to this program (or removes it with "/u"),
// so that a test run can set it up and clean it up as fixtures.
#include "platform/win32/windows_api.h"

#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/win32/com/com_apartment.h"
#include "tests/win32/phone/substitute_phone_protocol.h"

namespace {

std::wstring OwnDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path.substr(0, path.find_last_of(L"\\/") + 1);
        }
        path.resize(path.size() * 2);
    }
}

using Entry = HRESULT(STDAPICALLTYPE*)();

// The ProgID must lead to the substitute through the merged view that clients see; a per-user
// registration of another server would win and the tests would call that server instead.
bool ReachesTheSubstitute() {
    const kw::win32::ComApartment apartment;
    CLSID found{};
    return SUCCEEDED(CLSIDFromProgID(kw::test::phone::kProgId, &found)) &&
           IsEqualCLSID(found, kw::test::phone::kClassId);
}

}  // namespace

int main(int argc, char** argv) {
    const bool remove = argc > 1 && std::strcmp(argv[1], "/u") == 0;
    const std::wstring server = OwnDirectory() + kw::test::phone::kServerFile;
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> module(
        LoadLibraryW(server.c_str()), &FreeLibrary);
    if (!module) {
        std::fprintf(stderr, "cannot load the substitute phone control (error %lu)\n",
                     GetLastError());
        return 1;
    }
    const char* name = remove ? "DllUnregisterServer" : "DllRegisterServer";
    // Through a generic function pointer, as GetProcAddress returns an unrelated signature.
    const auto entry =
        reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module.get(), name)));
    if (entry == nullptr) {
        std::fprintf(stderr, "%s is missing\n", name);
        return 1;
    }
    const HRESULT hr = entry();
    if (FAILED(hr)) {
        std::fprintf(stderr, "%s failed: 0x%08lx (another server owns the ProgID?)\n", name,
                     static_cast<unsigned long>(hr));
        return 1;
    }
    if (!remove && !ReachesTheSubstitute()) {
        std::fprintf(stderr, "the ProgID does not lead to the substitute phone control\n");
        return 1;
    }
    return 0;
}
