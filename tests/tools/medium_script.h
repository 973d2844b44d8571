// What medium_run expects of a medium, read from the install script that
// install.exe will choose there: the uninstall key, the files the install
// folder gets, and whether "Open" starts the driver setup.
#pragma once
#include <string>
#include <vector>

namespace medium_run {

struct MediumScript {
    std::wstring path;                        // the script install.exe reads
    std::wstring installKey;                  // as install derives it
    std::vector<std::wstring> installedFiles; // relative to the install folder
    bool opensSetup = false;                  // "Open" names a Setup.exe
    bool isSample = false;                    // the sample package's own script
};

// False when the medium has no install script.
bool ReadMediumScript(const std::wstring& medium, MediumScript* script);

}  // namespace medium_run
