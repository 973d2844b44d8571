#include "uninstall_handover.h"

#include <strsafe.h>

#include "file_identity.h"
#include "globals.h"
#include "messages.h"
#include "owned_handle.h"
#include "path_helpers.h"
#include "registered_program.h"
#include "uninstall_marker.h"

namespace {

bool ConfirmUninstall()
{
    char text[kCatalogueTextSize];
    FormatTextInto(text, IDS_UNINSTALL_CONFIRM, g_title);
    if (g_resident)
        StringCchCatA(text, kCatalogueTextSize, GetText(IDS_CLOSE_RESIDENT));
    return MessageBoxA(nullptr, text, g_title, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

// Only the registered installation is removed. Started from another copy
// (the medium's, one in Downloads) this program hands over the registered
// one instead, so that nothing beside this copy is touched. False when no
// existing program is registered for the install key.
bool ChooseInstalledProgram(char* program)
{
    if (!FindRegisteredProgram(program))
        return false;
    DWORD attributes = GetFileAttributesA(program);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // The registered program itself keeps the path it was started by.
    if (IsSameFile(program, g_programPath))
        lstrcpynA(program, g_programPath, kPathSize);
    return true;
}

// Creates the marker in the system directory. When it cannot be created
// (another process holds it), waits longer before the copy is started.
void CreateHandOverMarker()
{
    char markerPath[kPathSize];
    bool created = false;
    if (FormatMarkerPath(markerPath)) {
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
    char program[kPathSize];
    if (!ChooseInstalledProgram(program)) {
        ShowMessage(nullptr, IDS_HANDOVER_FAILED, nullptr, MB_ICONERROR);
        return;
    }
    if (!ConfirmUninstall())
        return;

    // The copy's path is quoted: unquoted, a name with a blank ("Card
    // Setup.exe") would start another program ("Card.exe") first.
    char systemDir[kPathSize];
    char copyPath[kPathSize];
    char commandLine[kCommandLineSize];
    UINT length = GetSystemDirectoryA(systemDir, kPathSize);
    bool ready =
        length > 0 && length < kPathSize &&
        SUCCEEDED(StringCchPrintfA(copyPath, kPathSize, "%s\\%s", systemDir, PathLastComponent(program))) &&
        SUCCEEDED(StringCchPrintfA(commandLine, kCommandLineSize, "\"%s\" x %s", copyPath, program));
    if (ready) {
        // An older copy may be there from an earlier uninstall; a failed copy
        // shows when the start fails.
        CopyFileA(program, copyPath, FALSE);
        SetCurrentDirectoryA(systemDir);
        CreateHandOverMarker();
        if (StartUninstallCopy(commandLine))
            return;
    }
    ShowMessage(nullptr, IDS_HANDOVER_FAILED, nullptr, MB_ICONERROR);
}
