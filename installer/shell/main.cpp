// install.exe: installs a package by its install script, and uninstalls it
// again when started with "/r" from the system's list of installed programs.
#include <windows.h>
#include <strsafe.h>

#include "dll_search.h"
#include "globals.h"
#include "install_settings.h"
#include "install_wizard.h"
#include "messages.h"
#include "startup.h"
#include "uninstall_copy.h"
#include "uninstall_handover.h"

namespace {

// Every run ends with this exit code, whatever happened.
const int kExitCode = 1;

void RunInstaller(const char* commandLine)
{
    if (!PassVersionGate())
        return;
    if (!LocateProgram()) {
        ReportDamagedScript();
        return;
    }

    const char* installedProgram = nullptr;
    RunMode mode = ChooseRunMode(commandLine, &installedProgram);
    char basePath[kPathSize];
    const char* base = mode == RunModeUninstallCopy ? installedProgram : g_programPath;
    if (!base || FAILED(StringCchCopyA(basePath, kPathSize, base))) {
        // Without the installed program's path the copy has no folder to work on.
        ShowMessage(nullptr, IDS_HANDOVER_FAILED, nullptr, MB_ICONERROR);
        return;
    }
    if (!SetBasePath(basePath) || !SelectInstallScript(basePath)) {
        ReportDamagedScript();
        return;
    }
    if (!LoadInstallSettings())
        return;

    switch (mode) {
    case RunModeUninstallHandOver:
        RunUninstallHandOver();
        break;
    case RunModeUninstallCopy:
        RunUninstallCopy();
        break;
    case RunModeInstall:
        RunInstallWizard();
        break;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    // Before anything can load a DLL by name.
    RestrictDllSearch();
    g_hInstance = instance;
    RunInstaller(commandLine ? commandLine : "");
    return kExitCode;
}
