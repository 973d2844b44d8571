#include "shared_folders.h"

#include <windows.h>
#include <shlobj.h>

#include "globals.h"
#include "path_helpers.h"

namespace {

// The shell's folders as this program is given them; on 64-bit Windows a
// 32-bit program gets the x86 forms of Program Files and Common Files here.
const int kSharedFolderIds[] = {
    CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_SYSTEMX86,
    CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86,
    CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86,
    CSIDL_COMMON_APPDATA, CSIDL_PROFILE,
    CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS,
    CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU,
    CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS,
};

// The 64-bit Program Files and Common Files, which a 32-bit program learns
// only from its environment.
const char* const kNativeFolderVariables[] = {"ProgramW6432", "CommonProgramW6432"};

// The form in which folders are compared: full, long where the folder exists,
// without a trailing separator except a drive root's.
void NormalizeFolder(char* folder)
{
    PathFullName(folder);
    char longForm[kPathSize];
    DWORD length = GetLongPathNameA(folder, longForm, kPathSize);
    if (length > 0 && length < kPathSize)
        lstrcpynA(folder, longForm, kPathSize);
}

bool MatchesFolder(const char* normal, char* candidate)
{
    if (candidate[0] == '\0')
        return false;
    NormalizeFolder(candidate);
    return lstrcmpiA(normal, candidate) == 0;
}

bool IsShellFolder(const char* normal)
{
    char folder[kPathSize];
    for (int id : kSharedFolderIds) {
        if (FAILED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, folder)))
            continue;
        if (MatchesFolder(normal, folder))
            return true;
        // The folder that holds the profile is the Users folder.
        if (id == CSIDL_PROFILE) {
            *PathLastComponent(folder) = '\0';
            if (MatchesFolder(normal, folder))
                return true;
        }
    }
    return false;
}

bool IsNativeFolder(const char* normal)
{
    char folder[kPathSize];
    for (const char* name : kNativeFolderVariables) {
        DWORD length = GetEnvironmentVariableA(name, folder, kPathSize);
        if (length > 0 && length < kPathSize && MatchesFolder(normal, folder))
            return true;
    }
    // The 64-bit system folder under the name a 32-bit program reaches it by.
    UINT length = GetWindowsDirectoryA(folder, kPathSize);
    return length > 0 && length < kPathSize && PathAppend(folder, "Sysnative") && MatchesFolder(normal, folder);
}

}  // namespace

bool IsRootOrSharedFolder(const char* folder)
{
    char normal[kPathSize];
    lstrcpynA(normal, folder, kPathSize);
    if (!FindRootEnd(normal))
        return true;
    // "." and ".." levels may lead to a root: the full form decides.
    NormalizeFolder(normal);
    char withSeparator[kPathSize];
    lstrcpynA(withSeparator, normal, kPathSize);
    const char* rootEnd = PathAppend(withSeparator, "") ? FindRootEnd(withSeparator) : nullptr;
    if (!rootEnd || rootEnd[1] == '\0')
        return true;
    return IsShellFolder(normal) || IsNativeFolder(normal);
}
