#pragma once

#include <map>
#include <optional>
#include <string>

namespace kw::win32::gui {

// The program's settings key in the prefix's registry, empty for each test and removed
// afterwards. The path is written out here rather than taken from the program, so a program
// that looks elsewhere fails the tests.
class OptionsRegistry {
  public:
    OptionsRegistry();
    ~OptionsRegistry();
    OptionsRegistry(const OptionsRegistry&) = delete;
    OptionsRegistry& operator=(const OptionsRegistry&) = delete;

    static constexpr wchar_t kKeyPath[] =
        L"Software\\VB and VBA Program Settings\\Klingelwart\\Options";

    bool set(const std::wstring& name, const std::wstring& value) const;
    void clear() const;
    // Every value as text; a value that is not REG_SZ shows as "<type N>".
    std::map<std::wstring, std::wstring> values() const;
    std::optional<std::wstring> value(const std::wstring& name) const;
};

}  // namespace kw::win32::gui
