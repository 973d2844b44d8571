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

// The copy is made into a file created here first, and the file then held
// open must be that one (file identity): a same-named file in the system
// directory that could not be replaced is never taken for the copy. The
// handle returned shares reading only, so that the file can be neither
// replaced nor renamed before the copy has started from it; invalid when any
// step failed.
HANDLE MakeHandOverCopy(const char* program, const char* copyPath)
{
    FileIdentity made, held;
    {
        OwnedHandle created(
            CreateFileA(copyPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!created.IsValid() || !ReadHandleIdentity(created.Get(), &made))
            return INVALID_HANDLE_VALUE;
    }
    if (!CopyFileA(program, copyPath, FALSE))
        return INVALID_HANDLE_VALUE;
    HANDLE copy = CreateFileA(copyPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (copy == INVALID_HANDLE_VALUE)
        return copy;
    if (ReadHandleIdentity(copy, &held) && IsSameIdentity(made, held))
        return copy;
    CloseHandle(copy);
    return INVALID_HANDLE_VALUE;
}

// Started by the copy's own path, never searched for.
bool StartUninstallCopy(const char* copyPath, char* commandLine)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    GetStartupInfoA(&startup);
    PROCESS_INFORMATION started;
    ZeroMemory(&started, sizeof(started));
    if (!CreateProcessA(copyPath, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started))
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
        OwnedHandle copy(MakeHandOverCopy(program, copyPath));
        if (copy.IsValid()) {
            SetCurrentDirectoryA(systemDir);
            CreateHandOverMarker();
            if (StartUninstallCopy(copyPath, commandLine))
                return;
        }
    }
    ShowMessage(nullptr, IDS_HANDOVER_FAILED, nullptr, MB_ICONERROR);
}
