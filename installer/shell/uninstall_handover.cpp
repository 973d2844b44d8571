#include "uninstall_handover.h"

#include <strsafe.h>

#include "globals.h"
#include "messages.h"
#include "owned_handle.h"

namespace {

bool ConfirmUninstall()
{
    char text[kCatalogueTextSize];
    FormatTextInto(text, IDS_UNINSTALL_CONFIRM, g_title);
    if (g_resident)
        StringCchCatA(text, kCatalogueTextSize, GetText(IDS_CLOSE_RESIDENT));
    return MessageBoxA(nullptr, text, g_title, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

// Creates the marker "<install key>.tmp" in the system directory. When it
// cannot be created (another process holds it), waits longer before the copy
// is started.
void CreateHandOverMarker(const char* systemDir)
{
    char markerPath[kPathSize];
    bool created = false;
    if (SUCCEEDED(StringCchPrintfA(markerPath, kPathSize, "%s\\%s.tmp", systemDir, g_installKey))) {
        OwnedHandle marker(CreateFileA(markerPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_TEMPORARY, nullptr));
        // Creation truncates the file, so only a failed creation reports a size.
        created = marker.IsValid() && GetFileSize(marker.Get(), nullptr) == 0;
    }
    if (!created)
        Sleep(1500);
    Sleep(500);
}

bool StartUninstallCopy(char* commandLine)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    GetStartupInfoA(&startup);
    PROCESS_INFORMATION started;
    ZeroMemory(&started, sizeof(started));
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started))
        return false;
    OwnedHandle thread(started.hThread);
    OwnedHandle process(started.hProcess);
    if (!process.IsValid())
        return false;
    WaitForInputIdle(process.Get(), INFINITE);
    return true;
}

}  // namespace

void RunUninstallHandOver()
{
    if (!ConfirmUninstall())
        return;

    char systemDir[kPathSize];
    char copyPath[kPathSize];
    char commandLine[kCommandLineSize];
    UINT length = GetSystemDirectoryA(systemDir, kPathSize);
    bool ready = length > 0 && length < kPathSize &&
                 SUCCEEDED(StringCchPrintfA(copyPath, kPathSize, "%s\\%s", systemDir, g_programName)) &&
                 SUCCEEDED(StringCchPrintfA(commandLine, kCommandLineSize, "%s x %s", copyPath, g_programPath));
    if (ready) {
        // An older copy may be there from an earlier uninstall; a failed copy
        // shows when the start fails.
        CopyFileA(g_programPath, copyPath, FALSE);
        SetCurrentDirectoryA(systemDir);
        CreateHandOverMarker(systemDir);
        if (StartUninstallCopy(commandLine))
            return;
    }
    ShowMessage(nullptr, IDS_HANDOVER_FAILED, nullptr, MB_ICONERROR);
}
