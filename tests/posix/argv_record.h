#pragma once

// What the argv recorder (KW_ARGV_RECORDER) wrote about its own start: each field as
// "<length>:<bytes>\n", four facts about the process, then its argv.

#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/length_prefixed_fields.h"

namespace kw::posix::testing {

struct ArgvRecord {
    std::string session;
    bool stdinIsDevNull = false;
    bool sigpipeDefault = false;
    bool noSignalBlocked = false;
    std::vector<std::string> argv;  // argv[0] included
};

inline std::optional<ArgvRecord> ParseArgvRecord(const std::string& data) {
    const std::optional<std::vector<std::string>> read =
        kw::testing::ReadLengthPrefixedFields(data);
    if (!read) {
        return std::nullopt;
    }
    const std::vector<std::string>& fields = *read;
    if (fields.size() < 5) {
        return std::nullopt;
    }
    return ArgvRecord{fields[0], fields[1] == "1", fields[2] == "1", fields[3] == "1",
                      std::vector<std::string>(fields.begin() + 4, fields.end())};
}

// The recorder runs detached: its record appears some time after the start.
inline std::optional<ArgvRecord> AwaitArgvRecord(const std::filesystem::path& file) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(file, std::ios::binary);
        if (in) {
            std::ostringstream data;
            data << in.rdbuf();
            return ParseArgvRecord(data.str());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
}

// True when this process has no child, not even a zombie: detached starts must leave none.
inline bool NoChildLeft() {
    errno = 0;
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

}  // namespace kw::posix::testing
