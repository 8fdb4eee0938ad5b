#include "tests/win32/server_registration.h"

#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/win32/com/com_apartment.h"
#include "tests/win32/own_module.h"

namespace kw::test {

namespace {

using Entry = HRESULT(STDAPICALLTYPE*)();

std::wstring OwnDirectory() {
    const std::wstring path = OwnModulePath();
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// The ProgID must lead to the substitute through the merged view that clients see; a per-user
// registration of another server would win and the tests would call that server instead.
bool ReachesTheSubstitute(const RegisteredServer& server) {
    const win32::ComApartment apartment;
    CLSID found{};
    return SUCCEEDED(CLSIDFromProgID(server.progId, &found)) && IsEqualCLSID(found, server.classId);
}

}  // namespace

int RunServerRegistration(const RegisteredServer& server, int argc, char** argv) {
    const bool remove = argc > 1 && std::strcmp(argv[1], "/u") == 0;
    const std::wstring path = OwnDirectory() + server.file;
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> module(
        LoadLibraryW(path.c_str()), &FreeLibrary);
    if (!module) {
        std::fprintf(stderr, "cannot load the %s (error %lu)\n", server.name, GetLastError());
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
    if (!remove && !ReachesTheSubstitute(server)) {
        std::fprintf(stderr, "the ProgID does not lead to the %s\n", server.name);
        return 1;
    }
    return 0;
}

}  // namespace kw::test
