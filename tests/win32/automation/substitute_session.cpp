#include "tests/win32/automation/substitute_session.h"

#include "platform/win32/windows_api.h"

#include <memory>
#include <stdexcept>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "tests/win32/automation/substitute_log.h"
#include "tests/win32/automation/substitute_protocol.h"

namespace kw::test {

namespace {

void ClearBehaviour() {
    for (const wchar_t* variable : substitute::kAllVariables) {
        SetEnvironmentVariableW(variable, nullptr);
    }
}

std::string MemberName(long id) {
    switch (id) {
        case substitute::kOpenCurrentDatabaseId:
            return "OpenCurrentDatabase";
        case substitute::kRunId:
            return "Run";
        case substitute::kQuitId:
            return "Quit";
        default:
            return "#" + std::to_string(id);
    }
}

std::string ArgumentName(const std::string& member, const std::string& id) {
    if (member == "OpenCurrentDatabase" && id == std::to_string(substitute::kFilepathId)) {
        return "filepath";
    }
    if (member == "OpenCurrentDatabase" && id == std::to_string(substitute::kExclusiveId)) {
        return "Exclusive";
    }
    return "#" + id;
}

}  // namespace

ServerValue Text(std::string text) {
    return {kTextReference, std::move(text)};
}

ServerValue Boolean(bool value) {
    return {kBoolean, value ? "VARIANT_TRUE" : "VARIANT_FALSE"};
}

SubstituteSession::SubstituteSession() {
    ClearBehaviour();
    wchar_t directory[MAX_PATH + 1] = {};
    wchar_t path[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH, directory) == 0 ||
        GetTempFileNameW(directory, L"kws", 0, path) == 0) {
        throw std::runtime_error("no temporary file for the substitute server's log");
    }
    logPath_ = path;
    SetEnvironmentVariableW(substitute::variable::kLog, logPath_.c_str());
}

SubstituteSession::~SubstituteSession() {
    ClearBehaviour();
    DeleteFileW(logPath_.c_str());
}

void SubstituteSession::set(const wchar_t* variable, std::string_view value) {
    if (value.empty()) {
        SetEnvironmentVariableW(variable, nullptr);
        return;
    }
    SetEnvironmentVariableW(variable, win32::Utf8ToWide(value).c_str());
}

std::vector<std::vector<std::string>> SubstituteSession::allRecords() const {
    const win32::UniqueHandle file(CreateFileW(logPath_.c_str(), GENERIC_READ,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return {};
    }
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        content.append(buffer, read);
    }
    return substitute::SplitRecords(content);
}

std::vector<std::vector<std::string>> SubstituteSession::records(std::string_view kind) const {
    std::vector<std::vector<std::string>> matching;
    for (auto& record : allRecords()) {
        if (!record.empty() && record.front() == kind) {
            matching.push_back(std::move(record));
        }
    }
    return matching;
}

std::vector<ServerCall> SubstituteSession::calls() const {
    std::vector<ServerCall> calls;
    for (const auto& record : allRecords()) {
        const std::string& kind = record.at(0);
        if (kind == "invoke") {
            ServerCall call;
            call.object = record.at(1);
            call.member = MemberName(std::stol(record.at(2)));
            call.flags = std::stoi(record.at(3));
            call.locale = record.at(6);
            calls.push_back(std::move(call));
        } else if (kind == "arg") {
            ServerCall& call = calls.back();
            const ServerValue value{std::stoi(record.at(3)), record.at(5)};
            call.rawArguments.push_back(value);
            if (record.at(4) == "-") {
                call.positional.insert(call.positional.begin(), value);
            } else {
                call.rawNamedIds.push_back(record.at(4));
                call.named[ArgumentName(call.member, record.at(4))] = value;
            }
        } else if (kind == "result") {
            calls.back().result = std::stol(record.at(2));
        }
    }
    return calls;
}

std::vector<std::string> SubstituteSession::members() const {
    std::vector<std::string> names;
    for (const auto& call : calls()) {
        names.push_back(call.member);
    }
    return names;
}

}  // namespace kw::test
