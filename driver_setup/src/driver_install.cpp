#include "driver_install.h"

#include <shlobj.h>
#include <strsafe.h>

#include "file_group_copy.h"
#include "folder_links.h"
#include "setup_codes.h"

namespace {

// Copies a group into a system directory; 0 or the failure code of the group.
// A copy that stopped the spooler is noted in spoolerStopped.
int CopyToSystemFolder(PrinterSystem& system, const FileGroup& group, int csidl, int failureCode,
                       bool& spoolerStopped)
{
    wchar_t folder[SETUP_PATH_SIZE];
    int copied = 0;
    if (system.FindSystemFolder(csidl, folder)) {
        copied = CopyFileGroup(group.sourceDirectory, folder, group.fileNames,
                               CopyByTime | CopyMayStopSpooler, system);
        if (copied == 2 || copied == -2)
            spoolerStopped = true;
    }
    if (copied > 0)
        return SetupSucceeded;
    if (GetLastError() == SPOOLER_STOP_FAILED) {
        // The stop may have got half way.
        spoolerStopped = true;
        return SetupSpoolerNotStopped;
    }
    return failureCode;
}

// The "downlevel" folder of a system directory gets only missing files; its
// failures are not reported.
void CopyToDownlevelFolder(PrinterSystem& system, const FileGroup& group, int csidl)
{
    wchar_t folder[SETUP_PATH_SIZE];
    wchar_t downlevel[SETUP_PATH_SIZE];
    if (!system.FindSystemFolder(csidl, folder) ||
        FAILED(StringCchPrintfW(downlevel, ARRAYSIZE(downlevel), L"%s\\%s", folder, L"downlevel")))
        return;
    CopyFileGroup(group.sourceDirectory, downlevel, group.fileNames, CopyKeepExisting, system);
}

// An explicit target folder is created and filled with administrator
// rights: one that is, or lies below, a folder link that a user could have
// made is not used (ERROR_REPARSE_POINT_ENCOUNTERED).
bool IsTrustedTargetFolder(const wchar_t* folder)
{
    wchar_t full[SETUP_PATH_SIZE];
    const DWORD length = GetFullPathNameW(folder, SETUP_PATH_SIZE, full, nullptr);
    if (length == 0 || length >= SETUP_PATH_SIZE)
        return true;  // EnsureDirectory refuses it
    if (!LeadsThroughFolderLink(full))
        return true;
    SetLastError(ERROR_REPARSE_POINT_ENCOUNTERED);
    return false;
}

int CopyGroup(PrinterSystem& system, const FileGroup& group, bool& spoolerStopped)
{
    switch (group.targetKind) {
    case TargetExplicitDirectory:
        if (IsTrustedTargetFolder(group.targetDirectory) &&
            CopyFileGroup(group.sourceDirectory, group.targetDirectory, group.fileNames, CopyByTime, system) > 0)
            return SetupSucceeded;
        return SetupTargetCopyFailed;
    case TargetSystem:
        return CopyToSystemFolder(system, group, CSIDL_SYSTEM, SetupSystemCopyFailed, spoolerStopped);
    case TargetSystemX86:
        return CopyToSystemFolder(system, group, CSIDL_SYSTEMX86, SetupSystemX86CopyFailed, spoolerStopped);
    case TargetSystemDownlevel:
        CopyToDownlevelFolder(system, group, CSIDL_SYSTEM);
        return SetupSucceeded;
    case TargetSystemX86Downlevel:
        CopyToDownlevelFolder(system, group, CSIDL_SYSTEMX86);
        return SetupSucceeded;
    default:
        return SetupBadTargetKind;
    }
}

}  // namespace

int InstallDriverPackage(DriverSetup& setup)
{
    PrinterSystem windows;
    return InstallDriverPackage(setup, windows);
}

int InstallDriverPackage(DriverSetup& setup, PrinterSystem& system)
{
    if (!setup.ready)
        return SetupNotReady;
    setup.detailCode = 0;
    if (setup.installPackage && !system.AddToDriverStore(setup.infPath)) {
        setup.detailCode = GetLastError();
        return SetupDriverStoreFailed;
    }
    bool spoolerStopped = false;
    for (int i = 0; i < setup.groupCount; ++i) {
        const FileGroup& group = setup.fileGroups[i];
        if (group.fileNames.Count() == 0)
            continue;
        const int copied = CopyGroup(system, group, spoolerStopped);
        if (copied == SetupSucceeded)
            continue;
        setup.detailCode = copied == SetupSpoolerNotStopped ? 0 : GetLastError();
        // A failed run must not leave printing stopped.
        if (spoolerStopped)
            system.ControlSpooler(SpoolerStart);
        return copied;
    }
    system.ControlSpooler(SpoolerStart);
    setup.detailCode = 0;
    return SetupSucceeded;
}
