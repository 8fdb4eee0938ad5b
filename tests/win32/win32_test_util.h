#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kw::win32::test {

// A fresh directory under the user's temporary directory, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path as Windows text, without a final backslash.
    std::wstring text() const { return path_.wstring(); }

  private:
    std::filesystem::path path_;
};

// Sets an environment variable of this process (and so of the programs it starts) for a scope.
class ScopedEnv {
  public:
    ScopedEnv(const wchar_t* name, const std::wstring& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const wchar_t* name_;
    std::optional<std::wstring> old_;
};

// The directory of the running test program (where the helper programs are built too).
std::filesystem::path ProgramDirectory();

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::optional<std::string> ReadBytes(const std::filesystem::path& path);

}  // namespace kw::win32::test
