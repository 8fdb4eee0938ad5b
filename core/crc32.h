#pragma once

#include <cstdint>
#include <string_view>

namespace kw {

// CRC-32 as in zip and PNG (reflected, polynomial 0xEDB88320).
std::uint32_t Crc32(std::string_view bytes);

}  // namespace kw
