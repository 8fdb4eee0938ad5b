#include "tests/win32/install/installation.h"

#include "platform/win32/windows_api.h"

#include <knownfolders.h>
#include <shlobj.h>

#include "tests/win32/gui/child_process.h"
#include "tests/win32/install/uninstall_entry.h"
#include "tests/win32/win32_test_util.h"

namespace kw::win32::install {

namespace {

namespace fs = std::filesystem;

// Unpacking and writing the registry under Wine takes seconds, the first run in a new prefix
// longer.
constexpr std::chrono::milliseconds kInstallerPatience{120'000};

fs::path KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    fs::path found;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        found = path;
    }
    CoTaskMemFree(path);
    return found;
}

std::optional<unsigned long> RunToEnd(const fs::path& program, std::wstring_view arguments) {
    const gui::ChildProcess process(program, arguments);
    if (!process.started()) {
        return std::nullopt;
    }
    return process.awaitExit(kInstallerPatience);
}

}  // namespace

fs::path InstallDirectory() {
    return KnownFolder(FOLDERID_ProgramFiles) / L"Klingelwart";
}

fs::path StartMenuDirectory() {
    return KnownFolder(FOLDERID_CommonPrograms) / L"Klingelwart";
}

fs::path InstallerProgram() {
    return test::ProgramDirectory() / KW_INSTALLER_NAME;
}

std::optional<unsigned long> RunInstallerSilently() {
    return RunToEnd(InstallerProgram(), L"/S");
}

std::optional<unsigned long> RunUninstallerSilently() {
    // _?= takes the rest of the line, unquoted, spaces and all.
    return RunToEnd(InstallDirectory() / L"Uninstall.exe",
                    L"/S _?=" + InstallDirectory().wstring());
}

void RemoveInstallation() {
    std::error_code ec;
    if (fs::exists(InstallDirectory() / L"Uninstall.exe", ec)) {
        RunUninstallerSilently();
    }
    fs::remove_all(InstallDirectory(), ec);
    fs::remove_all(StartMenuDirectory(), ec);
    UninstallEntry::remove();
}

}  // namespace kw::win32::install
