#include "platform/win32/com/com_errors.h"

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <cstdint>

namespace kw::win32 {
namespace {

struct NumberCase {
    HRESULT hr;
    std::int32_t number;
};

TEST(ComErrorsTest, HresultsBecomeClassicNumbers) {
    const NumberCase cases[] = {
        {DISP_E_UNKNOWNNAME, 438},
        {DISP_E_MEMBERNOTFOUND, 438},
        {DISP_E_PARAMNOTFOUND, 448},
        {DISP_E_TYPEMISMATCH, 13},
        {DISP_E_BADPARAMCOUNT, 450},
        {DISP_E_PARAMNOTOPTIONAL, 449},
        {E_OUTOFMEMORY, 7},
        {E_INVALIDARG, 5},
        {E_ACCESSDENIED, 70},
        {HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE), 462},
        // The control facility carries the classic number in its low word.
        {static_cast<HRESULT>(0x800A09C5), 2501},
        {static_cast<HRESULT>(0x800A0046), 70},
        {static_cast<HRESULT>(0x800AFFFF), 65535},
        // Without a number of its own, the HRESULT itself as a signed number.
        {static_cast<HRESULT>(0x800A0000), static_cast<std::int32_t>(0x800A0000)},
        {E_FAIL, -2147467259},
        {CO_E_SERVER_EXEC_FAILURE, -2146959355},
        {static_cast<HRESULT>(0x800B0000 | 2501), static_cast<std::int32_t>(0x800B09C5)},
        {static_cast<HRESULT>(0x000A09C5), 0x000A09C5},
    };
    for (const auto& [hr, number] : cases) {
        EXPECT_EQ(ErrorNumberFromHresult(hr), number) << std::hex << hr;
    }
}

TEST(ComErrorsTest, DescriptionsAreGerman) {
    const Failure cases[] = {
        FailureFromHresult(DISP_E_UNKNOWNNAME),
        FailureFromHresult(DISP_E_TYPEMISMATCH),
        FailureFromHresult(static_cast<HRESULT>(0x800A09C5)),
        FailureFromHresult(E_FAIL),
        FailureFromHresult(CO_E_SERVER_EXEC_FAILURE),
        FailureFromHresult(static_cast<HRESULT>(0x80041234)),
    };
    const Failure expected[] = {
        {438, "Objekt unterstützt diese Eigenschaft oder Methode nicht"},
        {13, "Typen unverträglich"},
        {2501, "Anwendungs- oder objektdefinierter Fehler"},
        {-2147467259, "Automatisierungsfehler\r\nUnbekannter Fehler"},
        {-2146959355, "Automatisierungsfehler\r\nFehler bei der Serverausführung"},
        {static_cast<std::int32_t>(0x80041234), "Automatisierungsfehler"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i], expected[i]) << i;
    }
}

TEST(ComErrorsTest, EveryWayOfLackingTheServerIs429) {
    const Failure cannotCreate{429, "Objekterstellung durch ActiveX-Komponente nicht möglich"};
    for (const HRESULT hr :
         {CO_E_CLASSSTRING, REGDB_E_CLASSNOTREG, REGDB_E_READREGDB, CLASS_E_CLASSNOTAVAILABLE,
          CO_E_DLLNOTFOUND, CO_E_APPNOTFOUND, HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND),
          HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), HRESULT_FROM_WIN32(ERROR_BAD_EXE_FORMAT)}) {
        EXPECT_EQ(CreationFailure(hr), cannotCreate) << std::hex << hr;
    }
    // A server that exists but fails to start or refuses the caller is reported as such.
    EXPECT_EQ(CreationFailure(CO_E_SERVER_EXEC_FAILURE).number, -2146959355);
    EXPECT_EQ(CreationFailure(E_ACCESSDENIED), (Failure{70, "Zugriff verweigert"}));
}

struct ExceptionCase {
    std::uint16_t code;
    std::int32_t scode;
    std::string description;
    Failure expected;
};

TEST(ComErrorsTest, ExceptionsCarryTheServersNumberAndText) {
    const ExceptionCase cases[] = {
        {2501, 0, "Die Aktion Run wurde abgebrochen.", {2501, "Die Aktion Run wurde abgebrochen."}},
        // wCode wins over scode.
        {2501, E_FAIL, "", {2501, "Anwendungs- oder objektdefinierter Fehler"}},
        {0, static_cast<std::int32_t>(0x800A09C5), "Abbruch", {2501, "Abbruch"}},
        {0, E_FAIL, "", {-2147467259, "Automatisierungsfehler\r\nUnbekannter Fehler"}},
        {0, DISP_E_TYPEMISMATCH, "", {13, "Typen unverträglich"}},
        {13, 0, "", {13, "Typen unverträglich"}},
        // An exception that names no error is still a failure.
        {0, 0, "", {440, "Automatisierungsfehler"}},
        {0, 0, "Nur Text", {440, "Nur Text"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExceptionFailure(c.code, c.scode, c.description), c.expected)
            << c.code << " " << c.scode;
    }
}

}  // namespace
}  // namespace kw::win32
