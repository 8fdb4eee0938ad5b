#pragma once

#include <string_view>

#include "platform/failure.h"

namespace kw::platform {

// The existence test for a database path.
class FileSearch {
  public:
    virtual ~FileSearch() = default;

    // True when the path, read as a pattern with the platform's wildcards, names at least one
    // ordinary file: a directory never counts, nor does a hidden or system file. A path the file
    // system rejects outright (malformed, a device that is not ready) is a failure with a German
    // description. Never throws.
    virtual Result<bool> findsOrdinaryFile(std::string_view pattern) = 0;
};

}  // namespace kw::platform
