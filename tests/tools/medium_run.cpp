// Runs an assembled medium of the sample package the way a user would and
// tells what each stage showed and left behind:
//   == install.exe  the wizard walked with its defaults, the Setup.exe that
//                   "Open" starts, then the installed files, shortcuts,
//                   uninstall entry, component registration and driver side;
//   == Setup.exe    the driver setup run again from the medium, and what it
//                   changed on the driver side;
//   == uninstall    the registered uninstall command to "Finish", and what
//                   is left.
// Every message box is answered with OK.
//
//   medium_run <medium folder>
//
// Exit code 0 when every stage succeeded, 1 otherwise, 2 for a usage error.
#include <windows.h>

#include "medium_stages.h"
#include "run_output.h"

using namespace medium_run;

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        Print(L"usage: medium_run <medium folder>");
        return 2;
    }
    std::wstring medium = argv[1];
    while (!medium.empty() && medium.back() == L'\\')
        medium.pop_back();

    InstalledPackage installed;
    bool succeeded = RunInstallStage(medium, &installed);
    succeeded = RunSetupStage(medium) && succeeded;
    succeeded = RunUninstallStage(installed) && succeeded;
    Print(succeeded ? L"== every stage succeeded" : L"== a stage failed");
    return succeeded ? 0 : 1;
}
