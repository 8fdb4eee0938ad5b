#pragma once

#include <string>
#include <vector>

#include "core/failure.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {

// The SID of the user this process runs as (the token's user, not its default owner, which is
// the Administrators group for an elevated administrator).
class UserSid {
  public:
    // Failure 75 with a German description when the token cannot be read.
    static Result<UserSid> OfThisProcess();

    PSID get() const { return const_cast<unsigned char*>(bytes_.data()); }
    // "S-1-5-21-...".
    std::wstring text() const;

  private:
    std::vector<unsigned char> bytes_;
};

// The pipe klingelwart-ring.exe hands calls to, one per user: \\.\pipe\Klingelwart-<SID>-phone.
std::wstring RingPipeName(const UserSid& user);

// Whether the object behind `handle` (opened with READ_CONTROL) is owned by `user`: a pipe
// created by anyone else is not the running Klingelwart of this user.
bool IsOwnedBy(HANDLE handle, const UserSid& user);

}  // namespace kw::win32
