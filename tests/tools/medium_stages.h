// The stages of a medium run, each printing what the user would see and
// what it left behind; each returns true when the stage succeeded.
#pragma once
#include <string>

namespace medium_run {

// The sample package's entry in the list of installed programs and its
// component's registration value, as the sample script names them.
extern const wchar_t kInstallKey[];
extern const wchar_t kComponentKey[];

// What the install put where, for the stages after it.
struct InstalledPackage {
    std::wstring folder;   // the install folder
    std::wstring menuDir;  // the menu group ("MenuDir" of the entry)
};

// install.exe walked with the defaults, then the Setup.exe its "Open" starts.
bool RunInstallStage(const std::wstring& medium, InstalledPackage* installed);

// <medium>\Setup.exe run directly, as a user may run it again.
bool RunSetupStage(const std::wstring& medium);

// The registered uninstall command to the end of its dialog.
bool RunUninstallStage(const InstalledPackage& installed);

}  // namespace medium_run
