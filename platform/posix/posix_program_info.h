#pragma once

#include <string>

#include "platform/program_info.h"

namespace kw::posix {

// The executable's directory from /proc/self/exe (without a trailing "/", "/" for the root, and
// empty when the link cannot be read), "/" as separator, and the version the build gives
// (KW_VERSION_MAJOR, KW_VERSION_MINOR, KW_VERSION_PATCH from the CMake project version).
class PosixProgramInfo final : public platform::ProgramInfo {
  public:
    std::string directory() override;
    char pathSeparator() const override { return '/'; }
    platform::ProgramVersion version() const override;
};

}  // namespace kw::posix
