#pragma once

#include <cstdint>
#include <string>

#include "core/failure.h"

namespace kw {

// The error numbers the program reports, with the German descriptions a classic Windows program
// of this kind showed. 53 means "program not found" and nothing else.
namespace error {
inline constexpr std::int32_t kInvalidCall = 5;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kInternal = 51;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kAccessDenied = 70;
inline constexpr std::int32_t kPathFileAccess = 75;
inline constexpr std::int32_t kPathNotFound = 76;
inline constexpr std::int32_t kCannotCreateObject = 429;
inline constexpr std::int32_t kMemberNotSupported = 438;
inline constexpr std::int32_t kAutomationError = 440;
inline constexpr std::int32_t kNamedArgumentNotFound = 448;
}  // namespace error

// The classic description of a number, or an empty text for numbers without one.
std::string ErrorDescription(std::int32_t number);

// A failure carrying the classic description of its number.
Failure MakeFailure(std::int32_t number);

}  // namespace kw
