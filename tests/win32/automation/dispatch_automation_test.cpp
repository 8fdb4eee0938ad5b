#include "platform/win32/com/dispatch_automation.h"

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/win32/automation/substitute_protocol.h"
#include "tests/win32/automation/substitute_session.h"

namespace kw::win32 {
namespace {

using platform::AutomationArgument;
using platform::NamedArgument;
using test::Boolean;
using test::Text;
namespace variable = test::substitute::variable;

class DispatchAutomationTest : public testing::Test {
  protected:
    std::unique_ptr<platform::AutomationObject> create() {
        auto created = automation.create("Access.Application");
        EXPECT_TRUE(created.ok()) << (created.ok() ? "" : created.failure().description);
        return created.ok() ? std::move(created.value()) : nullptr;
    }

    test::SubstituteSession server;
    DispatchAutomation automation;
};

TEST_F(DispatchAutomationTest, MemberAndArgumentNamesAreResolvedInOneRequest) {
    std::string path = "C:\\Daten\\Kunden.accdb";
    const NamedArgument named[] = {{"filepath", &path}, {"Exclusive", false}};
    ASSERT_EQ(create()->invoke("OpenCurrentDatabase", {}, named), std::nullopt);

    const auto names = server.records("names");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0][2], std::to_string(LOCALE_USER_DEFAULT));
    EXPECT_EQ(std::vector<std::string>(names[0].begin() + 3, names[0].end()),
              (std::vector<std::string>{"OpenCurrentDatabase", "filepath", "Exclusive"}));
}

TEST_F(DispatchAutomationTest, NamedArgumentsArriveByName) {
    std::string path = "C:\\Daten\\Kunden.accdb";
    const NamedArgument named[] = {{"filepath", &path}, {"Exclusive", false}};
    ASSERT_EQ(create()->invoke("OpenCurrentDatabase", {}, named), std::nullopt);

    const auto calls = server.calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].member, "OpenCurrentDatabase");
    EXPECT_EQ(calls[0].flags, DISPATCH_METHOD);
    EXPECT_EQ(calls[0].locale, std::to_string(LOCALE_USER_DEFAULT));
    EXPECT_TRUE(calls[0].positional.empty());
    EXPECT_EQ(calls[0].named, (std::map<std::string, test::ServerValue>{
                                  {"filepath", Text(path)}, {"Exclusive", Boolean(false)}}));
    EXPECT_EQ(calls[0].result, S_OK);
}

// rgvarg: the named arguments first, paired with rgdispidNamedArgs, then the positional ones from
// last to first.
TEST_F(DispatchAutomationTest, ArgumentsAreLaidOutAsIDispatchExpectsThem) {
    std::string path = "C:\\a.mdb";
    std::string extra = "zweites";
    const AutomationArgument positional[] = {&path, &extra};
    const NamedArgument named[] = {{"Exclusive", true}};
    ASSERT_EQ(create()->invoke("OpenCurrentDatabase", positional, named), std::nullopt);

    const auto call = server.calls().at(0);
    EXPECT_EQ(call.rawArguments,
              (std::vector<test::ServerValue>{Boolean(true), Text("zweites"), Text("C:\\a.mdb")}));
    EXPECT_EQ(call.rawNamedIds, std::vector<std::string>{"1"});
    EXPECT_EQ(call.positional,
              (std::vector<test::ServerValue>{Text("C:\\a.mdb"), Text("zweites")}));
}

TEST_F(DispatchAutomationTest, UnknownNamesGiveTheClassicNumbers) {
    auto object = create();
    std::string text = "x";
    const NamedArgument wrongName[] = {{"Exklusiv", false}};
    const NamedArgument rightName[] = {{"Exclusive", false}};
    const AutomationArgument positional[] = {&text};

    EXPECT_EQ(object->invoke("Compact", positional, {}),
              (Failure{438, "Objekt unterstützt diese Eigenschaft oder Methode nicht"}));
    EXPECT_EQ(object->invoke("OpenCurrentDatabase", {}, wrongName),
              (Failure{448, "Benanntes Argument nicht gefunden"}));
    // An unknown member wins over its argument names.
    EXPECT_EQ(object->invoke("Compact", {}, rightName)->number, 438);
    // A NUL would cut a name short to one the server knows.
    using namespace std::string_view_literals;
    EXPECT_EQ(object->invoke("Quit\0Compact"sv, {}, {})->number, 438);
    const NamedArgument cutName[] = {{"Exclusive\0Kopie"sv, false}};
    EXPECT_EQ(object->invoke("OpenCurrentDatabase", {}, cutName)->number, 448);
    EXPECT_EQ(server.count("invoke"), 0);
}

TEST_F(DispatchAutomationTest, TextsAreWrittenBackOnlyWhenTheServerChangedThem) {
    auto object = create();
    // Not UTF-8: it would not survive a round trip, so it must not be touched.
    std::string procedure = "Prozedur\xFF\xFE";
    std::string caller = "0171 234";
    const AutomationArgument positional[] = {&procedure, &caller};

    ASSERT_EQ(object->invoke("Run", positional, {}), std::nullopt);
    EXPECT_EQ(procedure, "Prozedur\xFF\xFE");
    EXPECT_EQ(caller, "0171 234");

    server.set(variable::kWriteIndex, "1");
    server.set(variable::kWriteText, "Zurück: 𝄞 €");
    ASSERT_EQ(object->invoke("Run", positional, {}), std::nullopt);
    EXPECT_EQ(procedure, "Prozedur\xFF\xFE");
    EXPECT_EQ(caller, "Zurück: 𝄞 €");
}

TEST_F(DispatchAutomationTest, AWriteBackBeforeAFailureStaysWritten) {
    server.set(variable::kWriteText, "geändert");
    server.set(variable::kFailMember, "Run");
    server.set(variable::kFailCode, "2501");
    std::string procedure = "Alt";
    const AutomationArgument positional[] = {&procedure};

    EXPECT_EQ(create()->invoke("Run", positional, {})->number, 2501);
    EXPECT_EQ(procedure, "geändert");
}

struct ExceptionCase {
    const char* code;
    const char* scode;
    const char* description;
    const char* deferred;
    Failure expected;
};

TEST_F(DispatchAutomationTest, ServerExceptionsKeepTheirNumberAndText) {
    const ExceptionCase cases[] = {
        {"2501",
         "",
         "Die Aktion wurde abgebrochen: Ä Ö Ü ß",
         "",
         {2501, "Die Aktion wurde abgebrochen: Ä Ö Ü ß"}},
        {"", "0x800A09C5", "", "", {2501, "Anwendungs- oder objektdefinierter Fehler"}},
        {"", "0x80004005", "", "", {-2147467259, "Automatisierungsfehler\r\nUnbekannter Fehler"}},
        {"7777", "", "Später ausgefüllt", "1", {7777, "Später ausgefüllt"}},
        {"", "", "", "", {440, "Automatisierungsfehler"}},
    };
    std::string procedure = "P";
    const AutomationArgument positional[] = {&procedure};
    for (const auto& c : cases) {
        server.set(variable::kFailMember, "Run");
        server.set(variable::kFailCode, c.code);
        server.set(variable::kFailScode, c.scode);
        server.set(variable::kFailDescription, c.description);
        server.set(variable::kFailDeferred, c.deferred);
        EXPECT_EQ(create()->invoke("Run", positional, {}), c.expected) << c.description;
    }
}

TEST_F(DispatchAutomationTest, OtherFailuresOfACallAreMapped) {
    const std::pair<const char*, Failure> cases[] = {
        {"0x80020005", {13, "Typen unverträglich"}},                 // DISP_E_TYPEMISMATCH
        {"0x80020004", {448, "Benanntes Argument nicht gefunden"}},  // DISP_E_PARAMNOTFOUND
        {"0x800A0046", {70, "Zugriff verweigert"}},
        {"0x8001010E", {-2147417842, "Automatisierungsfehler"}},  // RPC_E_WRONG_THREAD
    };
    server.set(variable::kFailMember, "Quit");
    for (const auto& [hr, expected] : cases) {
        server.set(variable::kFailHresult, hr);
        EXPECT_EQ(create()->invoke("Quit", {}, {}), expected) << hr;
    }
}

TEST_F(DispatchAutomationTest, EveryCreatedObjectIsReleasedWithItsOwner) {
    for (int i = 1; i <= 2; ++i) {
        auto object = create();
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(server.count("create"), i);
        EXPECT_EQ(server.count("release"), i - 1);
        ASSERT_EQ(object->invoke("Quit", {}, {}), std::nullopt);
        object.reset();
        EXPECT_EQ(server.count("release"), i);
    }
    const auto created = server.records("create");
    const auto released = server.records("release");
    for (std::size_t i = 0; i < released.size(); ++i) {
        EXPECT_EQ(released[i][1], created[i][1]);
        // Released before the object's apartment ends, as COM requires.
        EXPECT_EQ(released[i][2], "initialised");
    }
}

TEST_F(DispatchAutomationTest, MissingServersGive429) {
    const Failure cannotCreate{429, "Objekterstellung durch ActiveX-Komponente nicht möglich"};
    for (const char* progId : {"Klingelwart.GibtEsNicht", "", "{kaputt", "Access.Application.99",
                               "Klingelwart.OhneServer"}) {
        auto created = automation.create(progId);
        ASSERT_FALSE(created.ok()) << progId;
        EXPECT_EQ(created.failure(), cannotCreate) << progId;
    }
    using namespace std::string_view_literals;
    auto cut = automation.create("Access.Application\0Kopie"sv);
    ASSERT_FALSE(cut.ok());
    EXPECT_EQ(cut.failure(), cannotCreate);
    EXPECT_EQ(server.count("create"), 0);
}

// A caller whose thread already lives in the multithreaded apartment still reaches the server:
// COM marshals the calls, by-reference texts included.
TEST_F(DispatchAutomationTest, WorksFromAMultithreadedApartment) {
    server.set(variable::kWriteText, "über den Proxy");
    std::string procedure = "P";
    MaybeFailure failure = Failure{};
    HRESULT joined = E_FAIL;
    HRESULT stillJoined = E_FAIL;
    std::thread worker([&] {
        joined = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            DispatchAutomation inMta;
            auto created = inMta.create("Access.Application");
            if (created.ok()) {
                const AutomationArgument positional[] = {&procedure};
                failure = created.value()->invoke("Run", positional, {});
            } else {
                failure = created.failure();
            }
        }
        // The object's apartment must not have ended the thread's own initialisation.
        stillJoined = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CoUninitialize();
        CoUninitialize();
    });
    worker.join();
    ASSERT_EQ(joined, S_OK);
    EXPECT_EQ(stillJoined, S_FALSE);
    EXPECT_EQ(failure, std::nullopt);
    EXPECT_EQ(procedure, "über den Proxy");
    EXPECT_EQ(server.count("create"), server.count("release"));
}

}  // namespace
}  // namespace kw::win32
