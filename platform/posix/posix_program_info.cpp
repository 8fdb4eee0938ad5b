#include "platform/posix/posix_program_info.h"

#include <unistd.h>

#include <vector>

#ifndef KW_VERSION_MAJOR
// KW_VERSION_MAJOR, _MINOR and _PATCH come from platform/posix/CMakeLists.txt.
#error "KW_VERSION_MAJOR is not defined"
#endif

namespace kw::posix {

std::string PosixProgramInfo::directory() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            std::string path(buffer.data(), static_cast<std::size_t>(length));
            const std::size_t slash = path.rfind('/');
            if (slash == std::string::npos) {
                return {};
            }
            return slash == 0 ? std::string("/") : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);  // possibly cut off: read again with more room
    }
}

platform::ProgramVersion PosixProgramInfo::version() const {
    return platform::ProgramVersion{KW_VERSION_MAJOR, KW_VERSION_MINOR, KW_VERSION_PATCH};
}

}  // namespace kw::posix
