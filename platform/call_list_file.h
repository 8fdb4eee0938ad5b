#pragma once

#include <string>
#include <string_view>

namespace kw::platform {

// What reading the call list's file found.
struct CallListFileRead {
    std::string bytes;  // empty when there is no file yet
    std::string error;  // German, empty when it could be read
};

// The call list's file in the user's private data directory.
class CallListFile {
  public:
    virtual ~CallListFile() = default;

    // The file's contents; of a file far larger than the list ever needs, only its end.
    virtual CallListFileRead read() = 0;

    // Adds the bytes at the end and returns once they are on the disk. On failure (a full disk,
    // say) none of them stays and the German reason comes back; what was there stays intact.
    virtual std::string append(std::string_view bytes) = 0;

    // Replaces the whole file so that a crash leaves either the old or the new one. Empty on
    // success, else the German reason.
    virtual std::string replace(std::string_view contents) = 0;
};

}  // namespace kw::platform
