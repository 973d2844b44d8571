// TQSetup.ini as Setup and Setup64 read it, with the code Setup ends with on
// each Windows that a finding concerns.
#pragma once
#include <windows.h>

#include "installed_files.h"
#include "package_folder.h"

// The configuration on the medium, beside Setup.exe.
void CheckSetupConfig(const PackageFolder& package);

// "Open" starts the installed Setup.exe in folder (relative to the install
// folder, "" for the folder itself): what it reads must be installed beside
// it. Findings go to scriptName:line.
void CheckInstalledSetup(const PackageFolder& package, const InstalledFiles& installed, const wchar_t* folder,
                         const wchar_t* scriptName, int line);
