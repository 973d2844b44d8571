#include "startup.h"

#include <strsafe.h>

#include "globals.h"
#include "messages.h"
#include "path_helpers.h"

namespace {

bool FileExists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool PassVersionGate()
{
    DWORD major = LOBYTE(LOWORD(GetVersion()));
    if (major < 5) {
        ShowMessage(nullptr, IDS_NEEDS_WINDOWS_2000, nullptr, MB_ICONERROR);
        return false;
    }
    g_newShell = major >= 4;
    return true;
}

bool LocateProgram()
{
    DWORD length = GetModuleFileNameA(g_hInstance, g_programPath, kPathSize);
    return length > 0 && length < kPathSize;
}

RunMode ChooseRunMode(const char* commandLine, const char** installedProgram)
{
    *installedProgram = nullptr;
    if (*commandLine == '/')
        ++commandLine;
    switch (*commandLine) {
    case 'R':
    case 'r':
        return RunModeUninstallHandOver;
    case 'x': {
        const char* separator = commandLine + 1;
        if (*separator != '\0') {
            const char* path = CharNextA(separator);
            if (*path != '\0')
                *installedProgram = path;
        }
        return RunModeUninstallCopy;
    }
    default:
        return RunModeInstall;
    }
}

bool SetBasePath(const char* basePath)
{
    char path[kPathSize];
    if (FAILED(StringCchCopyA(path, kPathSize, basePath)))
        return false;
    char* name = PathLastComponent(path);
    if (*name == '\0' || FAILED(StringCchCopyA(g_programName, kFileNameSize, name)))
        return false;
    *name = '\0';
    lstrcpynA(g_sourceDir, path, kPathSize);
    return true;
}

bool SelectInstallScript(const char* basePath)
{
    if (FAILED(StringCchCopyA(g_scriptPath, kPathSize, basePath)) || !PathSetExtension(g_scriptPath, "INF"))
        return false;
    if (!FileExists(g_scriptPath)) {
        char* dot = PathExtension(g_scriptPath);
        if (!dot)
            return false;
        size_t room = kPathSize - (dot - g_scriptPath);
        char suffix[kShortNameSize];
        LoadText(suffix, kShortNameSize, IDS_SCRIPT_SUFFIX);
        if (FAILED(StringCchCopyA(dot, room, suffix)))
            return false;
        if (!FileExists(g_scriptPath) && FAILED(StringCchCopyA(dot, room, "E.INF")))
            return false;
    }
    return SUCCEEDED(StringCchCopyA(g_scriptName, kFileNameSize, PathLastComponent(g_scriptPath)));
}
