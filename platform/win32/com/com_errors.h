#pragma once

#include <cstdint>
#include <string>

#include "core/failure.h"

namespace kw::win32 {

// HRESULTs are taken as signed 32-bit numbers, so that this mapping stays a pure function.

// The number a classic Windows program reported for a failed COM call: its own number for the
// codes it knew (438 for an unknown member, 13 for a type mismatch, ...), the low word of a code
// in the control facility (0x800A....), otherwise the HRESULT itself.
std::int32_t ErrorNumberFromHresult(std::int32_t hr);

// Number and German description of a failed call. An HRESULT without a number of its own is
// described as "Automatisierungsfehler", followed by the system's text where known.
Failure FailureFromHresult(std::int32_t hr);

// A failed object creation: 429 for every code that means "no such server can be created",
// otherwise as FailureFromHresult.
Failure CreationFailure(std::int32_t hr);

// An exception raised by the server (DISP_E_EXCEPTION): its wCode when set, else its scode as a
// number; its own description when it gave one.
Failure ExceptionFailure(std::uint16_t code, std::int32_t scode, std::string description);

}  // namespace kw::win32
