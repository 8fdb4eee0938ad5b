#pragma once

#include <string>
#include <string_view>

#include "platform/call_list_file.h"

namespace kw::test {

// A call list file in memory that fails on demand, as a full disk does.
class MemoryCallListFile : public platform::CallListFile {
  public:
    platform::CallListFileRead read() override { return {bytes, ""}; }
    std::string append(std::string_view more) override {
        if (full) {
            return "Datenträger voll";
        }
        bytes += more;
        return {};
    }
    std::string replace(std::string_view contents) override {
        ++replaced;
        bytes = contents;
        return {};
    }
    std::string bytes;
    bool full = false;
    int replaced = 0;
};

}  // namespace kw::test
