#include <algorithm>

#include "medium_stages.h"
#include "pending_deletions.h"
#include "registry_values.h"
#include "run_output.h"
#include "test_files.h"
#include "uninstall_driver.h"

using namespace testing_support;

namespace medium_run {

namespace {

const DWORD kStepMs = 30000;

// The dialog's run from the confirmation to "Finish"; false when a step did
// not come.
bool RunUninstallDialog(const std::wstring& command)
{
    UninstallDriver driver;
    bool ran = driver.Start(command, L"", kStepMs);
    if (!driver.Confirmation().caption.empty())
        PrintBox(L"install.exe", driver.Confirmation());
    ran = ran && driver.WaitForRunEnd({}, kStepMs);
    for (const MessageBoxSeen& box : driver.Boxes())
        PrintBox(L"install.exe", box);
    DWORD exitCode = 0;
    if (ran) {
        Print(L"Status: " + driver.Status());
        ran = driver.PressFinish(kStepMs, &exitCode);
    }
    if (!ran) {
        Print(L"Uninstall failed: " + FromCodePage(driver.Failure(), CP_UTF8));
        return false;
    }
    Print(L"Finish pressed; the uninstall exited with " + ExitCodeText(exitCode));
    return true;
}

}  // namespace

bool RunUninstallStage(const MediumScript& script, const InstalledPackage& installed)
{
    Print(L"== uninstall");
    const std::wstring command = RegisteredUninstallCommand(script.installKey);
    if (command.empty()) {
        Print(L"no uninstall command is registered");
        return false;
    }
    Print(L"Command: " + command);
    const std::vector<std::wstring> scheduledBefore = ScheduledDeletions();
    if (!RunUninstallDialog(command))
        return false;

    bool clean = PrintCheck(L"Install folder", !DirectoryExists(installed.folder), L"gone", L"still there");
    clean &= PrintCheck(L"Uninstall entry", !UninstallEntryExists(script.installKey), L"gone", L"still there");
    clean &= PrintCheck(L"Shortcuts (menu group)", !DirectoryExists(installed.menuDir), L"gone", L"still there");
    if (script.isSample)
        clean &= PrintCheck(L"Component value",
                            RegistryText(HKEY_LOCAL_MACHINE, kComponentKey, L"Registered").empty(), L"gone",
                            L"still there");
    for (const std::wstring& line : ScheduledDeletions()) {
        if (std::find(scheduledBefore.begin(), scheduledBefore.end(), line) == scheduledBefore.end())
            Print(L"Scheduled for deletion at restart: " + line);
    }
    return clean;
}

}  // namespace medium_run
