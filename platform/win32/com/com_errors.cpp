#include "platform/win32/com/com_errors.h"

#include "platform/win32/windows_api.h"

#include <string_view>
#include <utility>

#include "core/error_numbers.h"
#include "core/messages.h"

namespace kw::win32 {

namespace {

// HRESULT_FROM_WIN32 is a function, not a constant expression, in some headers.
constexpr HRESULT FromWin32(unsigned long code) {
    return static_cast<HRESULT>((code & 0x0000FFFFu) | (FACILITY_WIN32 << 16) | 0x80000000u);
}

struct NumberOf {
    HRESULT hr;
    std::int32_t number;
};

// The codes that classic programs reported under numbers of their own.
constexpr NumberOf kClassicNumbers[] = {
    {E_INVALIDARG, error::kInvalidCall},
    {DISP_E_OVERFLOW, error::kOverflow},
    {E_OUTOFMEMORY, error::kOutOfMemory},
    {DISP_E_BADINDEX, error::kSubscriptOutOfRange},
    {DISP_E_ARRAYISLOCKED, error::kArrayLocked},
    {DISP_E_DIVBYZERO, error::kDivisionByZero},
    {DISP_E_TYPEMISMATCH, error::kTypeMismatch},
    {E_ACCESSDENIED, error::kAccessDenied},
    {E_NOINTERFACE, error::kNoAutomation},
    {DISP_E_UNKNOWNNAME, error::kMemberNotSupported},
    {DISP_E_MEMBERNOTFOUND, error::kMemberNotSupported},
    {E_NOTIMPL, error::kActionNotSupported},
    {DISP_E_NONAMEDARGS, error::kNoNamedArguments},
    {DISP_E_UNKNOWNLCID, error::kLocaleNotSupported},
    {DISP_E_PARAMNOTFOUND, error::kNamedArgumentNotFound},
    {DISP_E_PARAMNOTOPTIONAL, error::kArgumentNotOptional},
    {DISP_E_BADPARAMCOUNT, error::kWrongArgumentCount},
    {FromWin32(RPC_S_SERVER_UNAVAILABLE), error::kServerUnavailable},
};

struct SystemTextOf {
    HRESULT hr;
    std::string_view text;
};

// The system's own texts, shown below "Automatisierungsfehler". Kept here because Wine has none
// for most of these codes.
constexpr SystemTextOf kSystemTexts[] = {
    {E_FAIL, "Unbekannter Fehler"},
    {E_UNEXPECTED, "Schwerwiegender Fehler"},
    {E_POINTER, "Ungültiger Zeiger"},
    {E_ABORT, "Vorgang abgebrochen"},
    {CO_E_NOTINITIALIZED, "CoInitialize wurde nicht aufgerufen."},
    {CO_E_SERVER_EXEC_FAILURE, "Fehler bei der Serverausführung"},
    {RPC_E_CALL_REJECTED, "Der Aufruf wurde vom Aufgerufenen zurückgewiesen."},
    {RPC_E_SERVERFAULT, "Ausnahmefehler des Servers."},
    {RPC_E_DISCONNECTED, "Das aufgerufene Objekt wurde von den Clients getrennt."},
    {FromWin32(RPC_S_CALL_FAILED), "Der Remoteprozeduraufruf ist fehlgeschlagen."},
};

// Every code that means the server cannot be found, started or loaded.
constexpr HRESULT kNoServer[] = {
    CO_E_CLASSSTRING,
    REGDB_E_CLASSNOTREG,
    REGDB_E_READREGDB,
    REGDB_E_KEYMISSING,
    CO_E_APPNOTFOUND,
    CO_E_DLLNOTFOUND,
    CO_E_ERRORINDLL,
    CLASS_E_CLASSNOTAVAILABLE,
    FromWin32(ERROR_FILE_NOT_FOUND),
    FromWin32(ERROR_PATH_NOT_FOUND),
    FromWin32(ERROR_MOD_NOT_FOUND),
    FromWin32(ERROR_PROC_NOT_FOUND),
    FromWin32(ERROR_BAD_EXE_FORMAT),
    FromWin32(ERROR_DLL_INIT_FAILED),
};

constexpr std::uint32_t kControlFacilityMask = 0xFFFF0000u;
constexpr std::uint32_t kControlFacilityError = 0x800A0000u;

std::string AutomationErrorText(std::int32_t hr) {
    std::string text = ErrorDescription(error::kAutomationError);
    for (const auto& entry : kSystemTexts) {
        if (entry.hr == hr) {
            text += kCrLf;
            text += entry.text;
        }
    }
    return text;
}

}  // namespace

std::int32_t ErrorNumberFromHresult(std::int32_t hr) {
    for (const auto& entry : kClassicNumbers) {
        if (entry.hr == hr) {
            return entry.number;
        }
    }
    const auto bits = static_cast<std::uint32_t>(hr);
    if ((bits & kControlFacilityMask) == kControlFacilityError && (bits & 0xFFFFu) != 0) {
        return static_cast<std::int32_t>(bits & 0xFFFFu);
    }
    return hr;
}

Failure FailureFromHresult(std::int32_t hr) {
    const std::int32_t number = ErrorNumberFromHresult(hr);
    if (number == hr) {
        return Failure{number, AutomationErrorText(hr)};
    }
    return Failure{number, ErrorDescription(number)};
}

Failure CreationFailure(std::int32_t hr) {
    for (const HRESULT code : kNoServer) {
        if (code == hr) {
            return MakeFailure(error::kCannotCreateObject);
        }
    }
    return FailureFromHresult(hr);
}

Failure ExceptionFailure(std::uint16_t code, std::int32_t scode, std::string description) {
    Failure failure;
    if (code != 0) {
        failure = Failure{code, ErrorDescription(code)};
    } else if (scode < 0) {
        failure = FailureFromHresult(scode);
    } else {
        // An exception that names no error at all still failed.
        failure = MakeFailure(error::kAutomationError);
    }
    if (!description.empty()) {
        failure.description = std::move(description);
    }
    return failure;
}

}  // namespace kw::win32
