#include <objbase.h>

#include "driver_changes.h"
#include "folder_listing.h"
#include "install_wizard_driver.h"
#include "medium_stages.h"
#include "registry_values.h"
#include "run_output.h"
#include "sample_medium.h"
#include "shell_link_reader.h"
#include "test_files.h"

using namespace testing_support;

namespace medium_run {

const wchar_t kComponentKey[] = L"Software\\CardPrinterSample\\Component";

namespace {

const DWORD kStepMs = 30000;
const DWORD kDriverSetupMs = 120000;
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The wizard with its defaults; false when a step did not come.
bool WalkWizard(const RunningProgram& install, InstalledPackage* installed)
{
    const WizardWalk walk = DriveInstallWizard(install, WizardChoices(), kStepMs);
    Print(L"Wizard: [" + walk.sheetCaption + L"]");
    Print(L"Destination: " + walk.defaultDestination);
    Print(L"Menu group: " + walk.defaultGroup);
    for (const MessageBoxSeen& box : walk.runBoxes)
        PrintBox(L"install.exe", box);
    if (!walk.failure.empty()) {
        Print(L"Wizard failed: " + FromCodePage(walk.failure, CP_UTF8));
        return false;
    }
    Print(L"Status: " + walk.statusText);
    Print(L"Hint: " + walk.hintText);
    PrintBox(L"install.exe", walk.completion);
    installed->folder = walk.defaultDestination;
    return true;
}

// The Setup.exe that "Open" of the completion box started, to its end.
bool FollowOpenedSetup(RunningProgram* install)
{
    const AnsweredRun run = AnswerOpenedSetup(install->Id(), kDriverSetupMs);
    if (!run.started) {
        Print(L"Setup.exe was not opened");
        return false;
    }
    const bool succeeded = PrintRunOutcome(L"Setup.exe", run, kDriverSetupMs);
    DWORD installExit = 0;
    if (install->WaitForExit(kStepMs, &installExit))
        Print(L"install.exe exited with " + ExitCodeText(installExit));
    else
        Print(L"install.exe did not end");
    return succeeded;
}

void PrintShortcuts(const std::wstring& menuDir)
{
    CoInitialize(nullptr);
    const UINT codePage = GetACP();
    for (const std::wstring& name : FileNamesIn(menuDir, L"*.lnk")) {
        copy_links_testing::LinkContents link;
        if (!copy_links_testing::ReadShellLink(JoinPaths(menuDir, name), &link)) {
            Print(L"Shortcut: " + name + L" (unreadable)");
            continue;
        }
        std::wstring target = FromCodePage(link.target, codePage);
        if (!link.arguments.empty())
            target += L" " + FromCodePage(link.arguments, codePage);
        Print(L"Shortcut: " + name + L" -> " + target);
    }
    CoUninitialize();
}

// install.exe to its end, when "Open" starts nothing.
bool WaitForInstallEnd(RunningProgram* install)
{
    DWORD installExit = 0;
    if (!install->WaitForExit(kStepMs, &installExit)) {
        Print(L"install.exe did not end");
        return false;
    }
    Print(L"install.exe exited with " + ExitCodeText(installExit));
    return true;
}

// The install folder, shortcuts, uninstall entry and, for the sample, the
// component value.
bool ReportInstalled(const MediumScript& script, InstalledPackage* installed)
{
    Print(L"Install folder: " + installed->folder);
    for (const std::wstring& file : FilesBelow(installed->folder))
        Print(L"  " + file);
    bool complete = true;
    for (const std::wstring& file : script.installedFiles) {
        if (!FileExists(JoinPaths(installed->folder, file))) {
            Print(L"Missing: " + file);
            complete = false;
        }
    }
    const std::wstring entry = kUninstallKey + script.installKey;
    const std::wstring displayName = RegistryText(HKEY_LOCAL_MACHINE, entry, L"DisplayName");
    installed->menuDir = RegistryText(HKEY_LOCAL_MACHINE, entry, L"MenuDir");
    const std::wstring command = RegistryText(HKEY_LOCAL_MACHINE, entry, L"UninstallString");
    PrintShortcuts(installed->menuDir);
    Print(L"Uninstall entry: DisplayName=" + displayName);
    Print(L"Uninstall entry: MenuDir=" + installed->menuDir);
    Print(L"Uninstall entry: UninstallString=" + command);
    if (!script.isSample)
        return complete && !command.empty();
    const std::wstring registered = RegistryText(HKEY_LOCAL_MACHINE, kComponentKey, L"Registered");
    Print(std::wstring(L"Component: Registered=") + (registered.empty() ? L"(missing)" : registered.c_str()));
    return complete && !command.empty() && registered == L"1";
}

}  // namespace

bool RunInstallStage(const std::wstring& medium, const MediumScript& script, InstalledPackage* installed)
{
    Print(L"== install.exe");
    const std::wstring program = JoinPaths(medium, L"install.exe");
    const DriverChanges driverSide(medium);
    RunningProgram install;
    if (!FileExists(program) || !install.Start(L"\"" + program + L"\"", medium)) {
        Print(L"could not be started: " + program);
        return false;
    }
    Print(L"Script: " + script.path);
    if (!WalkWizard(install, installed))
        return false;
    if (!(script.opensSetup ? FollowOpenedSetup(&install) : WaitForInstallEnd(&install)))
        return false;
    const bool complete = ReportInstalled(script, installed);
    driverSide.Report();
    return complete;
}

}  // namespace medium_run
