#pragma once

#include <string>

namespace kw::platform {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// Facts about the running program itself.
class ProgramInfo {
  public:
    virtual ~ProgramInfo() = default;

    // The directory that holds the program's executable, UTF-8, as the system spells it (it may
    // or may not end in the separator).
    virtual std::string directory() = 0;
    virtual char pathSeparator() const = 0;
    virtual ProgramVersion version() const = 0;
};

}  // namespace kw::platform
