#pragma once

#include <filesystem>

namespace kw::win32::install {

// The file a .lnk starts, read through the shell as Explorer would; empty when it is no link.
std::filesystem::path ShortcutTarget(const std::filesystem::path& link);

}  // namespace kw::win32::install
