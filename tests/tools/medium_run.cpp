// Runs an assembled medium the way a user would and tells what each stage
// showed and left behind:
//   == install.exe  the wizard walked with its defaults, the Setup.exe that
//                   "Open" starts (when it names one), then the installed
//                   files, shortcuts, uninstall entry and driver side, and
//                   for the sample package its component's registration;
//   == Setup.exe    the driver setup run again from the medium, and what it
//                   changed on the driver side (a medium with TQSetup.ini);
//   == uninstall    the registered uninstall command to "Finish", and what
//                   is left.
// What the install should leave comes from the install script that
// install.exe chooses on the medium. Every message box is answered with OK.
//
//   medium_run <medium folder>
//
// Exit code 0 when every stage succeeded, 1 otherwise, 2 for a usage error.
#include <windows.h>

#include "medium_stages.h"
#include "run_output.h"
#include "test_files.h"

using namespace medium_run;
using testing_support::FileExists;
using testing_support::JoinPaths;

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        Print(L"usage: medium_run <medium folder>");
        return 2;
    }
    std::wstring medium = argv[1];
    while (!medium.empty() && medium.back() == L'\\')
        medium.pop_back();

    MediumScript script;
    if (!ReadMediumScript(medium, &script)) {
        Print(L"no install script on the medium: " + medium);
        return 1;
    }
    InstalledPackage installed;
    bool succeeded = RunInstallStage(medium, script, &installed);
    if (FileExists(JoinPaths(medium, L"TQSetup.ini")))
        succeeded = RunSetupStage(medium) && succeeded;
    else
        Print(L"== Setup.exe: skipped, the medium has no TQSetup.ini");
    succeeded = RunUninstallStage(script, installed) && succeeded;
    Print(succeeded ? L"== every stage succeeded" : L"== a stage failed");
    return succeeded ? 0 : 1;
}
