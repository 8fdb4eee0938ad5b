// The entry points of the substitute phone control's DLL: class objects and its machine-wide
// registration under the softphone's ProgID.
#include "platform/win32/windows_api.h"

#include <objbase.h>

#include "tests/win32/class_factory.h"
#include "tests/win32/own_module.h"
#include "tests/win32/phone/phone_control.h"
#include "tests/win32/phone/substitute_phone_protocol.h"
#include "tests/win32/server_class_registration.h"

using namespace kw::test::phone;

STDAPI DllGetClassObject(REFCLSID classId, REFIID interfaceId, LPVOID* object) {
    return kw::test::ClassFactory<PhoneControl>::Get(classId, kClassId, interfaceId, object);
}

// No module-wide object count is kept: the server stays loaded until the process ends, which
// also keeps its window class valid.
STDAPI DllCanUnloadNow() {
    return S_FALSE;
}

STDAPI DllRegisterServer() {
    return kw::test::RegisterServerClass({.progId = kProgId,
                                          .classId = kClassIdText,
                                          .serverPath = kw::test::OwnModulePath(),
                                          .description = L"Klingelwart substitute phone control",
                                          .control = true});
}

STDAPI DllUnregisterServer() {
    return kw::test::UnregisterServerClass(kProgId, kClassIdText);
}
