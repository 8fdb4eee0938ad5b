#pragma once

#include <string>
#include <string_view>

#include "platform/call_list_file.h"
#include "platform/posix/unique_fd.h"

namespace kw::posix {

// The call list's file, "Anrufliste" in a directory of mode 0700, itself of mode 0600. Appends
// go through O_APPEND and count once fdatasync has returned; a write that fails half way is cut
// off again, so a full disk leaves the file as it was. A process killed mid-write leaves at most
// a torn last record, which the reader skips.
class PosixCallListFile : public platform::CallListFile {
  public:
    explicit PosixCallListFile(std::string directory);

    platform::CallListFileRead read() override;
    std::string append(std::string_view bytes) override;
    std::string replace(std::string_view contents) override;

    const std::string& path() const { return path_; }

  private:
    std::string openForAppend();

    std::string directory_;
    std::string path_;
    UniqueFd fd_;
};

// $XDG_DATA_HOME/Klingelwart, else ~/.local/share/Klingelwart.
std::string CallListDirectory(const char* xdgDataHome, const char* home);

}  // namespace kw::posix
