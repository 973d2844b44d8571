// The stages of a medium run, each printing what the user would see and
// what it left behind; each returns true when the stage succeeded.
#pragma once
#include <string>

#include "medium_script.h"

namespace medium_run {

// The registration value of the sample package's component, which only the
// sample's medium is checked for.
extern const wchar_t kComponentKey[];

// What the install put where, for the stages after it.
struct InstalledPackage {
    std::wstring folder;   // the install folder
    std::wstring menuDir;  // the menu group ("MenuDir" of the entry)
};

// install.exe walked with the defaults, then the Setup.exe its "Open" starts
// when it names one.
bool RunInstallStage(const std::wstring& medium, const MediumScript& script, InstalledPackage* installed);

// <medium>\Setup.exe run directly, as a user may run it again.
bool RunSetupStage(const std::wstring& medium);

// The registered uninstall command to the end of its dialog.
bool RunUninstallStage(const MediumScript& script, const InstalledPackage& installed);

}  // namespace medium_run
