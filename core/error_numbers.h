#pragma once

#include <cstdint>
#include <string>

#include "core/failure.h"

namespace kw {

// The error numbers the program reports, with the German descriptions a classic Windows program
// of this kind showed. 53 means "program not found" and nothing else. Backends translate their
// native codes into these numbers; the texts live here only.
namespace error {
inline constexpr std::int32_t kInvalidCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kArrayLocked = 10;
inline constexpr std::int32_t kDivisionByZero = 11;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kInternal = 51;
inline constexpr std::int32_t kBadFileName = 52;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kDeviceIo = 57;
inline constexpr std::int32_t kDiskFull = 61;
inline constexpr std::int32_t kDeviceUnavailable = 68;
inline constexpr std::int32_t kAccessDenied = 70;
inline constexpr std::int32_t kDiskNotReady = 71;
inline constexpr std::int32_t kPathFileAccess = 75;
inline constexpr std::int32_t kPathNotFound = 76;
inline constexpr std::int32_t kCannotCreateObject = 429;
inline constexpr std::int32_t kNoAutomation = 430;
inline constexpr std::int32_t kMemberNotSupported = 438;
inline constexpr std::int32_t kAutomationError = 440;
inline constexpr std::int32_t kActionNotSupported = 445;
inline constexpr std::int32_t kNoNamedArguments = 446;
inline constexpr std::int32_t kLocaleNotSupported = 447;
inline constexpr std::int32_t kNamedArgumentNotFound = 448;
inline constexpr std::int32_t kArgumentNotOptional = 449;
inline constexpr std::int32_t kWrongArgumentCount = 450;
inline constexpr std::int32_t kServerUnavailable = 462;
}  // namespace error

// The classic description of a number. Numbers without one of their own, such as those a
// server defines, get "Anwendungs- oder objektdefinierter Fehler", so no message ends in an
// empty description.
std::string ErrorDescription(std::int32_t number);

// A failure carrying the classic description of its number.
Failure MakeFailure(std::int32_t number);

}  // namespace kw
