#pragma once

#include "platform/win32/windows_api.h"

#include <string>

namespace kw::test {

// An in-process COM class of a substitute server, registered machine-wide in the test prefix.
struct ServerClass {
    std::wstring progId;
    std::wstring classId;  // in braces
    std::wstring serverPath;
    std::wstring description;
    // Containers look for a control's Control key and list it by the name under its ProgID.
    bool control = false;
};

// Refuses with ERROR_ALREADY_EXISTS when the ProgID names another class: on a machine with the
// real program, the tests must not take its name away.
HRESULT RegisterServerClass(const ServerClass& server);

// Removes the class; a ProgID that names another class was never ours and stays.
HRESULT UnregisterServerClass(const std::wstring& progId, const std::wstring& classId);

}  // namespace kw::test
