#include "platform/win32/pipe_call_source.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/ring_message.h"
#include "platform/win32/ring_pipe.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "tests/support/hostile_texts.h"
#include "tests/win32/win32_test_util.h"

namespace kw::win32 {
namespace {

using namespace std::chrono_literals;

// One argument the way the C runtime's parser gives it back.
std::wstring Quoted(const std::wstring& argument) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        out.push_back(c);
        backslashes = 0;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

struct Outcome {
    DWORD status = 0xFFFFFFFF;
    std::string errorText;
};

Outcome RunRing(const std::vector<std::wstring>& arguments) {
    const test::TempDir dir;
    const std::filesystem::path errorFile = dir.path() / L"stderr.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueHandle error(CreateFileW(errorFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                   CREATE_ALWAYS, 0, nullptr));
    std::wstring line = Quoted((test::ProgramDirectory() / L"klingelwart-ring.exe").wstring());
    for (const std::wstring& argument : arguments) {
        line += L" " + Quoted(argument);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = error.get();
    PROCESS_INFORMATION process{};
    Outcome outcome;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
        return outcome;
    }
    const UniqueHandle processHandle(process.hProcess);
    const UniqueHandle thread(process.hThread);
    WaitForSingleObject(process.hProcess, 30000);
    GetExitCodeProcess(process.hProcess, &outcome.status);
    error.reset();
    outcome.errorText = test::ReadBytes(errorFile).value_or("");
    return outcome;
}

UniqueHandle Connect(const std::wstring& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        UniqueHandle pipe(
            CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (pipe || GetLastError() != ERROR_PIPE_BUSY) {
            return pipe;
        }
        WaitNamedPipeW(name.c_str(), 100);
    }
    return {};
}

bool SendRaw(const std::wstring& name, std::string_view bytes) {
    const UniqueHandle pipe = Connect(name);
    DWORD written = 0;
    return pipe &&
           WriteFile(pipe.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring PipeName() {
    return RingPipeName(UserSid::OfThisProcess().value());
}

// The UI thread's part: the source's window messages.
void PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds patience = 10s) {
    const auto end = std::chrono::steady_clock::now() + patience;
    while (!done() && std::chrono::steady_clock::now() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
}

struct Received {
    std::vector<std::pair<std::string, std::string>> calls;
    std::vector<platform::CallSourceStatus> statuses;
};

std::unique_ptr<PipeCallSource> Started(Received& received) {
    auto source = std::make_unique<PipeCallSource>();
    source->start(
        [&received](std::string_view caller, std::string_view called) {
            received.calls.emplace_back(caller, called);
        },
        [&received](const platform::CallSourceStatus& status) {
            received.statuses.push_back(status);
        });
    return source;
}

TEST(RingTool, ExitStatusWithoutKlingelwart) {
    const struct {
        std::vector<std::wstring> arguments;
        DWORD status;
        std::string text;
    } cases[] = {
        {{L"030", L"4711"},
         1,
         "Klingelwart läuft nicht: niemand wartet auf Anrufe unter " + WideToUtf8(PipeName()) +
             "."},
        {{L"030"}, 2, "Aufruf: klingelwart-ring ANRUFER ANGERUFENE_NUMMER"},
        {{L"030", L"4711", L"x"}, 2, "Aufruf:"},
        // Three UTF-8 bytes each: over the message's limit, within the command line's.
        {{std::wstring(22000, L'€'), L"4711"},
         2,
         "klingelwart-ring: Die Nummern sind zu lang (zusammen höchstens 65520 Bytes); der Anruf "
         "wird nicht gemeldet."},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunRing(c.arguments);
        EXPECT_EQ(outcome.status, c.status) << c.text;
        EXPECT_NE(outcome.errorText.find(c.text), std::string::npos) << outcome.errorText;
    }
}

TEST(PipeCallSource, HostileTextsArriveThroughTheTool) {
    Received received;
    const auto source = Started(received);
    ASSERT_EQ(received.statuses.size(), 1u);
    EXPECT_EQ(received.statuses[0],
              (platform::CallSourceStatus{true, "Wartet auf Anrufe über klingelwart-ring (" +
                                                    WideToUtf8(PipeName()) + ")"}));
    std::vector<std::string> sent;
    for (const std::string& text : kw::test::HostileTexts()) {
        // A command line holds neither NULs nor more than 32767 characters.
        if (text.find('\0') != std::string::npos || text.size() > 12'000) {
            continue;
        }
        const std::wstring wide = Utf8ToWide(text);
        ASSERT_EQ(RunRing({wide, wide + L"|"}).status, 0u) << text;
        sent.push_back(WideToUtf8(wide));
    }
    PumpUntil([&] { return received.calls.size() >= sent.size(); });
    ASSERT_EQ(received.calls.size(), sent.size());
    for (std::size_t index = 0; index < sent.size(); ++index) {
        EXPECT_EQ(received.calls[index].first, sent[index]);
        EXPECT_EQ(received.calls[index].second, sent[index] + "|");
    }
}

TEST(PipeCallSource, PipeIsTheUsersAlone) {
    Received received;
    const auto source = Started(received);
    const UniqueHandle client(
        CreateFileW(PipeName().c_str(), READ_CONTROL, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(client);
    PSID owner = nullptr;
    ACL* dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetSecurityInfo(client.get(), SE_KERNEL_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                              nullptr, &dacl, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    const UserSid user = UserSid::OfThisProcess().value();
    ASSERT_NE(dacl, nullptr);
    EXPECT_EQ(dacl->AceCount, 1);
    void* ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, 0, &ace));
    EXPECT_EQ(static_cast<ACE_HEADER*>(ace)->AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_TRUE(EqualSid(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart, user.get()));
    EXPECT_TRUE(EqualSid(owner, user.get()));
    LocalFree(descriptor);
}

TEST(PipeCallSource, NameTakenBeforeIsRefused) {
    Received first;
    const auto running = Started(first);
    ASSERT_TRUE(first.statuses.at(0).receiving);
    Received second;
    const auto refused = Started(second);
    ASSERT_EQ(second.statuses.size(), 1u);
    EXPECT_FALSE(second.statuses[0].receiving);
    EXPECT_EQ(second.statuses[0].text,
              "Wartet nicht auf Anrufe: " + WideToUtf8(PipeName()) +
                  " ist schon belegt, von einem anderen Programm; Anrufe über klingelwart-ring "
                  "kommen so nicht an.");
    // The running one still receives.
    ASSERT_EQ(RunRing({L"030", L"4711"}).status, 0u);
    PumpUntil([&] { return !first.calls.empty(); });
    EXPECT_EQ(first.calls.size(), 1u);
    EXPECT_TRUE(second.calls.empty());
}

TEST(PipeCallSource, PipeOfAnotherOwnerIsNeitherSharedNorFed) {
    // A squatter's pipe, open to all, owned by a SID other than the user's.
    std::vector<unsigned char> other(SECURITY_MAX_SID_SIZE);
    DWORD otherSize = static_cast<DWORD>(other.size());
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, other.data(), &otherSize));
    SECURITY_DESCRIPTOR descriptor{};
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorOwner(&descriptor, other.data(), FALSE);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    const UniqueHandle squatter(
        CreateNamedPipeW(PipeName().c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_FIRST_PIPE_INSTANCE,
                         PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE, 1, 0, 65536, 0, &attributes));
    if (!squatter) {
        GTEST_SKIP() << "this system lets no other owner be set, error " << GetLastError();
    }
    Received received;
    const auto source = Started(received);
    EXPECT_FALSE(received.statuses.at(0).receiving);
    const Outcome outcome = RunRing({L"030", L"4711"});
    EXPECT_EQ(outcome.status, 1u);
    EXPECT_EQ(outcome.errorText, "klingelwart-ring: Anruf wird nicht gemeldet: " +
                                     WideToUtf8(PipeName()) + " gehört nicht diesem Benutzer.\r\n");
}

TEST(PipeCallSource, SilentMalformedAndOversizedClientsDoNotStopOthers) {
    Received received;
    const auto source = Started(received);
    const std::wstring name = PipeName();
    // Every instance taken by a client that says nothing: they are given up on in time.
    std::vector<UniqueHandle> silent;
    for (std::size_t index = 0; index < PipeCallSource::kInstances; ++index) {
        silent.push_back(Connect(name));
        ASSERT_TRUE(silent.back());
    }
    EXPECT_TRUE(SendRaw(name, "KLINGEL2 not a call"));
    EXPECT_TRUE(SendRaw(name, EncodeRing(std::string(kMaxRingMessage, '1'), "2")));
    EXPECT_TRUE(SendRaw(name, EncodeRing("good", "line")));
    PumpUntil([&] { return !received.calls.empty(); });
    PumpUntil([] { return false; }, 300ms);
    ASSERT_EQ(received.calls.size(), 1u);
    EXPECT_EQ(received.calls[0].first, "good");
}

TEST(PipeCallSource, QuickClientsAreNotLost) {
    Received received;
    const auto source = Started(received);
    // Each connects, writes and hangs up, often before the instance is listened on again.
    constexpr std::size_t kClients = 200;
    for (std::size_t index = 0; index < kClients; ++index) {
        ASSERT_TRUE(SendRaw(PipeName(), EncodeRing(std::to_string(index), "x")));
    }
    PumpUntil([&] { return received.calls.size() >= kClients; });
    EXPECT_EQ(received.calls.size(), kClients);
}

TEST(PipeCallSource, FloodIsBoundedPerWindowMessage) {
    Received received;
    const auto source = Started(received);
    const std::wstring name = PipeName();
    constexpr int kFlood = static_cast<int>(PipeCallSource::kMaxQueued) + 50;
    for (int index = 0; index < kFlood; ++index) {
        ASSERT_TRUE(SendRaw(name, EncodeRing(std::to_string(index), "x")));
    }
    Sleep(500);  // the worker reads what is in the pipe
    std::size_t most = 0;
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (received.calls.size() < PipeCallSource::kMaxQueued &&
           std::chrono::steady_clock::now() < end) {
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(5);
            continue;
        }
        const std::size_t before = received.calls.size();
        DispatchMessageW(&message);
        most = std::max(most, received.calls.size() - before);
    }
    PumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(received.calls.size(), PipeCallSource::kMaxQueued);
    EXPECT_LE(most, PipeCallSource::kMaxBatch);
    std::set<std::string> distinct;
    for (const auto& call : received.calls) {
        distinct.insert(call.first);
    }
    EXPECT_EQ(distinct.size(), received.calls.size());
}

TEST(PipeCallSource, HandlerWithItsOwnMessageLoopIsNotEntered) {
    const std::wstring name = PipeName();
    std::vector<std::string> callers;
    int depth = 0;
    int deepest = 0;
    PipeCallSource source;
    // As a message box would: more calls come while the first one's handler runs a loop.
    source.start(
        [&](std::string_view caller, std::string_view) {
            deepest = std::max(deepest, ++depth);
            callers.emplace_back(caller);
            if (caller == "first") {
                for (int index = 0; index < 20; ++index) {
                    SendRaw(name, EncodeRing(std::to_string(index), "x"));
                }
                PumpUntil([] { return false; }, 300ms);
            }
            --depth;
        },
        [](const platform::CallSourceStatus& status) {
            ASSERT_TRUE(status.receiving) << status.text;
        });
    ASSERT_TRUE(SendRaw(name, EncodeRing("first", "x")));
    PumpUntil([&] { return callers.size() >= 21; });
    EXPECT_EQ(callers.size(), 21u);
    EXPECT_EQ(deepest, 1);
}

TEST(PipeCallSource, NothingArrivesAfterDestruction) {
    Received received;
    auto source = Started(received);
    const std::wstring name = PipeName();
    const UniqueHandle connected = Connect(name);
    ASSERT_TRUE(connected);
    ASSERT_TRUE(SendRaw(name, EncodeRing("queued", "x")));
    Sleep(300);  // read and queued, its window message posted
    source.reset();
    PumpUntil([] { return false; }, 300ms);
    EXPECT_TRUE(received.calls.empty());
    DWORD written = 0;
    const std::string late = EncodeRing("late", "x");
    EXPECT_FALSE(WriteFile(connected.get(), late.data(), static_cast<DWORD>(late.size()), &written,
                           nullptr));
    EXPECT_EQ(RunRing({L"030", L"4711"}).status, 1u);
}

}  // namespace
}  // namespace kw::win32
