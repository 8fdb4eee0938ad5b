#pragma once

#include <guiddef.h>

namespace kw::test::substitute {

// The substitute database application: an in-process server registered under the ProgID that
// the program creates, so that the tests need nothing beyond Wine.
inline constexpr wchar_t kProgId[] = L"Access.Application";
inline constexpr CLSID kClassId = {
    0x6b1d3f0a, 0x4c2e, 0x4e8b, {0x9a, 0x57, 0x3d, 0x2c, 0x1b, 0x0e, 0x7f, 0x41}};
inline constexpr wchar_t kClassIdText[] = L"{6B1D3F0A-4C2E-4E8B-9A57-3D2C1B0E7F41}";

// A ProgID whose class is registered with a server file that does not exist.
inline constexpr wchar_t kOrphanProgId[] = L"Klingelwart.OhneServer";
inline constexpr wchar_t kOrphanClassIdText[] = L"{6B1D3F0A-4C2E-4E8B-9A57-3D2C1B0E7F42}";
inline constexpr wchar_t kOrphanServerFile[] = L"kw_substitute_fehlt.dll";

inline constexpr wchar_t kServerFile[] = L"kw_substitute_access.dll";

// Dispatch ids of the members and of the named arguments of "OpenCurrentDatabase".
inline constexpr long kOpenCurrentDatabaseId = 1;
inline constexpr long kRunId = 2;
inline constexpr long kQuitId = 3;
inline constexpr long kFilepathId = 0;
inline constexpr long kExclusiveId = 1;

// The server's behaviour, read from the environment at every call.
namespace variable {
// Path of the log file; every record is appended as one UTF-8 line. No logging when unset.
inline constexpr wchar_t kLog[] = L"KW_SUBSTITUTE_LOG";
// Comma-separated names that GetIDsOfNames does not know (members or argument names).
inline constexpr wchar_t kForget[] = L"KW_SUBSTITUTE_FORGET";
// The member that fails, the HRESULT it returns (hexadecimal, default DISP_E_EXCEPTION) and,
// for DISP_E_EXCEPTION, the exception's wCode, scode (decimal or 0x hexadecimal) and UTF-8
// description. With FAIL_DEFERRED=1 the record is completed through pfnDeferredFillIn.
inline constexpr wchar_t kFailMember[] = L"KW_SUBSTITUTE_FAIL";
inline constexpr wchar_t kFailHresult[] = L"KW_SUBSTITUTE_FAIL_HRESULT";
inline constexpr wchar_t kFailCode[] = L"KW_SUBSTITUTE_FAIL_WCODE";
inline constexpr wchar_t kFailScode[] = L"KW_SUBSTITUTE_FAIL_SCODE";
inline constexpr wchar_t kFailDescription[] = L"KW_SUBSTITUTE_FAIL_DESCRIPTION";
inline constexpr wchar_t kFailDeferred[] = L"KW_SUBSTITUTE_FAIL_DEFERRED";
// Replaces the n-th text reference (default 0; counted over the positional arguments from first
// to last, then the named ones) of a member (default "Run") with a UTF-8 text.
inline constexpr wchar_t kWriteMember[] = L"KW_SUBSTITUTE_WRITE_MEMBER";
inline constexpr wchar_t kWriteIndex[] = L"KW_SUBSTITUTE_WRITE_INDEX";
inline constexpr wchar_t kWriteText[] = L"KW_SUBSTITUTE_WRITE_TEXT";
}  // namespace variable

inline constexpr const wchar_t* kAllVariables[] = {
    variable::kLog,
    variable::kForget,
    variable::kFailMember,
    variable::kFailHresult,
    variable::kFailCode,
    variable::kFailScode,
    variable::kFailDescription,
    variable::kFailDeferred,
    variable::kWriteMember,
    variable::kWriteIndex,
    variable::kWriteText,
};

// Log records, one per line, fields separated by tabs (see substitute_log.h):
//   create  <object>
//   release <object> initialised|uninitialised            COM state of the releasing thread
//   names   <object> <lcid> <name>...                      one GetIDsOfNames call
//   invoke  <object> <dispid> <flags> <cArgs> <cNamedArgs> <lcid> <has result> <has excepinfo>
//   arg     <object> <rgvarg index> <vt> <named dispid or -> <value>
//   result  <object> <HRESULT>
// Numbers are decimal; a value is the text of a VT_BYREF|VT_BSTR, or VARIANT_TRUE/VARIANT_FALSE.

}  // namespace kw::test::substitute
