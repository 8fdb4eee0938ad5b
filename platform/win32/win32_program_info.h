#pragma once

#include <optional>
#include <string>

#include "platform/program_info.h"

namespace kw::win32 {

// Facts about the running program from its executable: the directory (GetModuleFileNameW, long
// paths included, without the final backslash except at a drive's root) and the version from
// its VERSIONINFO resource (FILEVERSION major, minor, revision, build; the build is not shown).
// An executable without that resource reports the project version it was built from.
class Win32ProgramInfo final : public platform::ProgramInfo {
  public:
    Win32ProgramInfo();

    std::string directory() override;
    char pathSeparator() const override { return '\\'; }
    platform::ProgramVersion version() const override { return version_; }

    // The file version of any executable or library, if it has a VERSIONINFO resource.
    static std::optional<platform::ProgramVersion> fileVersion(const std::wstring& path);
    // The executable of the running program.
    static std::wstring modulePath();

  private:
    platform::ProgramVersion version_;
};

}  // namespace kw::win32
