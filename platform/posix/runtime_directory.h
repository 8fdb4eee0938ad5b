#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/failure.h"

namespace kw::posix {

// The longest path a local (AF_UNIX) socket can be bound to: sun_path holds 108 bytes including
// the terminating NUL.
inline constexpr std::size_t kMaxSocketPathLength = 107;

// The longest file name this program puts into its private directory ("instance.lock",
// "phone.sock"); a directory is only usable when <directory>/<such a name> fits a socket path.
inline constexpr std::size_t kLongestEntryName = 13;

// The file name of klingelwart-ring's socket in the private directory.
inline constexpr std::string_view kPhoneSocketName = "phone.sock";

// The user's private directory for the running program's lock and phone socket:
// $XDG_RUNTIME_DIR/klingelwart, created with mode 0700 when missing. When XDG_RUNTIME_DIR is
// unset, empty, not absolute, or the directory in it cannot be used (cannot be created, is not
// a private directory of the user's, or the path would be too long for a socket),
// /tmp/klingelwart-<uid> is used instead, created with mode 0700.
//
// A directory is used only when lstat shows a real directory (not a symbolic link) owned by the
// user. A directory of the user's with a wider mode is narrowed to 0700. Failure 70 (foreign
// owner, symbolic link, not a directory) or 76 (cannot be created, path too long) with a German
// description naming the path. Never throws.
Result<std::string> PrivateRuntimeDirectory();

// The same, with the environment value and the fallback's parent directory given: the fallback
// is <fallbackParent>/klingelwart-<uid>. An empty `xdgRuntimeDir` means unset. For tests.
Result<std::string> PrivateRuntimeDirectoryIn(std::string_view xdgRuntimeDir,
                                              const std::string& fallbackParent);

// Makes sure `path` is a private directory of the user's, as described above, creating it with
// mode 0700 when it is missing (its parent must exist). Returns the path unchanged.
Result<std::string> EnsurePrivateDirectory(const std::string& path);

// <directory>/phone.sock
std::string PhoneSocketPath(const std::string& directory);

}  // namespace kw::posix
