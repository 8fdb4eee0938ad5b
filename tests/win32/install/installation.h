#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace kw::win32::install {

// Where the installer puts Klingelwart in this prefix, found as a 64-bit program sees it: an
// installer that writes to "Program Files (x86)" or the user's own Start menu fails the tests.
std::filesystem::path InstallDirectory();
std::filesystem::path StartMenuDirectory();

// The installer beside the test program, copied there by the build.
std::filesystem::path InstallerProgram();

// Silent runs; the exit code, or nothing when the program did not start or end in time.
std::optional<unsigned long> RunInstallerSilently();
// Waits for the uninstaller itself: without _?= it copies itself to TEMP and returns at once.
std::optional<unsigned long> RunUninstallerSilently();

// Removes whatever an earlier run left (files, Start menu, uninstall entry), uninstalled or not.
void RemoveInstallation();

}  // namespace kw::win32::install
