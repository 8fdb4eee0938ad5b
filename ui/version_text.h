#pragma once

#include <string>

#include "platform/program_info.h"

namespace kw::ui {

// "2.0.0": the three components as decimal integers without leading zeros.
inline std::string VersionNumbers(const platform::ProgramVersion& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.revision);
}

}  // namespace kw::ui
