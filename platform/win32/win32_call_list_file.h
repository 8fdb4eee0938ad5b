#pragma once

#include <string>
#include <string_view>

#include "platform/call_list_file.h"
#include "platform/win32/unique_handle.h"

namespace kw::win32 {

// The call list's file "Anrufliste" in a directory that, like the file, only the user may open
// (a protected DACL with one entry for the user's SID). An append counts once FlushFileBuffers
// has returned; a write that fails half way is cut off again, so a full disk leaves the file as
// it was.
class Win32CallListFile : public platform::CallListFile {
  public:
    explicit Win32CallListFile(std::wstring directory);

    platform::CallListFileRead read() override;
    std::string append(std::string_view bytes) override;
    std::string replace(std::string_view contents) override;

    const std::wstring& path() const { return path_; }

  private:
    std::string openForAppend();

    std::wstring directory_;
    std::wstring path_;
    UniqueHandle file_;
};

// %LOCALAPPDATA%\Klingelwart, or empty when the folder is unknown.
std::wstring CallListDirectory();

}  // namespace kw::win32
