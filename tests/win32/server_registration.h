#pragma once

#include "platform/win32/windows_api.h"

namespace kw::test {

// A substitute server as its registration program sees it.
struct RegisteredServer {
    const wchar_t* file;  // beside the registration program
    const wchar_t* progId;
    CLSID classId;
    const char* name;  // for the messages
};

// The whole registration program: registers `server` through its own entry point, or removes it
// with "/u", so that a test run can set it up and clean it up as fixtures. Returns the exit code.
int RunServerRegistration(const RegisteredServer& server, int argc, char** argv);

}  // namespace kw::test
