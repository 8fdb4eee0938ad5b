#pragma once

namespace kw::winui {

// The program's icon in the executable's resources.
inline constexpr int kProgramIconId = 1;

}  // namespace kw::winui
