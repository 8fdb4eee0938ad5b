#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/win32/gui/poll_until.h"

namespace kw::win32::gui {

// The arguments as the recorder's C runtime received them (argv[0] included), in UTF-8, from
// the record that kw_win_argv_recorder writes; nothing for a damaged record.
std::optional<std::vector<std::string>> RecordedArguments(std::string_view record);

// The started program is not waited for: its record shows up some time after the click.
std::optional<std::vector<std::string>> AwaitRecordedArguments(
    const std::filesystem::path& file, std::chrono::milliseconds patience = kPatience);

}  // namespace kw::win32::gui
