#include "shared_folders.h"

#include <windows.h>
#include <shlobj.h>

#include "file_identity.h"
#include "globals.h"
#include "path_containment.h"
#include "path_helpers.h"
#include "registry_key.h"

namespace {

// The shell's folders as this program is given them; on 64-bit Windows a
// 32-bit program gets the x86 forms of Program Files and Common Files here.
const int kSharedFolderIds[] = {
    CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86,
    CSIDL_COMMON_APPDATA, CSIDL_PROFILE, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS, CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU,
    CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS,
};

// The 64-bit Program Files and Common Files, which a 32-bit program learns
// only from its environment.
const char* const kNativeFolderVariables[] = {"ProgramW6432", "CommonProgramW6432"};

// The Users folder, Users\Public and the default profile, and below the key
// each profile's root ("ProfileImagePath").
const char kProfileListKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const char* const kProfileFolderValues[] = {"ProfilesDirectory", "Public", "Default"};

enum { kMaxLevels = kPathSize / 2 };

// The form in which folders are compared by text: full, long where the
// folder exists, without a trailing separator except a drive root's.
void NormalizeFolder(char* folder)
{
    PathFullName(folder);
    char longForm[kPathSize];
    DWORD length = GetLongPathNameA(folder, longForm, kPathSize);
    if (length > 0 && length < kPathSize)
        lstrcpynA(folder, longForm, kPathSize);
}

// The folder asked about: its full form and the identity of each of its
// levels that exists, itself first.
class FolderLevels {
public:
    explicit FolderLevels(const char* folder)
    {
        lstrcpynA(normal_, folder, kPathSize);
        NormalizeFolder(normal_);
        char level[kPathSize];
        lstrcpynA(level, normal_, kPathSize);
        for (bool self = true; count_ < kMaxLevels; self = false) {
            if (ReadFileIdentity(level, &levels_[count_])) {
                exists_ = exists_ || self;
                ++count_;
            }
            char* separator = FindLastSeparator(level);
            char* rootEnd = FindRootEnd(level);
            if (!separator || !rootEnd || separator <= rootEnd)
                return;
            *separator = '\0';
        }
    }

    // The folder is other.
    bool Is(const char* other) const
    {
        char normal[kPathSize];
        FileIdentity identity;
        return Normalize(other, normal) && (lstrcmpiA(normal_, normal) == 0 ||
                                            (exists_ && ReadFileIdentity(normal, &identity) &&
                                             IsSameIdentity(identity, levels_[0])));
    }

    // The folder is other or lies anywhere inside it.
    bool IsWithin(const char* other) const
    {
        char normal[kPathSize];
        if (!Normalize(other, normal))
            return false;
        if (IsPathInFolderTree(normal_, normal))
            return true;
        FileIdentity identity;
        if (!ReadFileIdentity(normal, &identity))
            return false;
        for (int i = 0; i < count_; ++i) {
            if (IsSameIdentity(identity, levels_[i]))
                return true;
        }
        return false;
    }

private:
    static bool Normalize(const char* folder, char* normal)
    {
        if (folder[0] == '\0')
            return false;
        lstrcpynA(normal, folder, kPathSize);
        NormalizeFolder(normal);
        return true;
    }

    char normal_[kPathSize];
    FileIdentity levels_[kMaxLevels];
    int count_ = 0;
    bool exists_ = false;
};

bool ReadShellFolder(int id, char* folder)
{
    return SUCCEEDED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, folder));
}

bool ReadFolderVariable(const char* name, char* folder)
{
    DWORD length = GetEnvironmentVariableA(name, folder, kPathSize);
    return length > 0 && length < kPathSize;
}

// A folder value of the profile list, environment variables expanded.
bool ReadProfileFolder(RegistryKey& key, const char* name, char* folder)
{
    char value[kPathSize];
    DWORD type = 0;
    DWORD size = sizeof(value) - 1;
    if (!key.QueryValue(name, &type, reinterpret_cast<BYTE*>(value), &size) ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    value[size < sizeof(value) ? size : sizeof(value) - 1] = '\0';
    DWORD length = ExpandEnvironmentStringsA(value, folder, kPathSize);
    return length > 0 && length <= kPathSize;
}

bool IsShellFolder(const FolderLevels& levels)
{
    char folder[kPathSize];
    for (int id : kSharedFolderIds) {
        if (ReadShellFolder(id, folder) && levels.Is(folder))
            return true;
        // The folder that holds the profile is the Users folder.
        if (id == CSIDL_PROFILE && ReadShellFolder(id, folder)) {
            *PathLastComponent(folder) = '\0';
            if (levels.Is(folder))
                return true;
        }
    }
    for (const char* name : kNativeFolderVariables) {
        if (ReadFolderVariable(name, folder) && levels.Is(folder))
            return true;
    }
    return false;
}

bool IsProfileFolder(const FolderLevels& levels, REGSAM view)
{
    RegistryKey profiles;
    if (!profiles.Open(HKEY_LOCAL_MACHINE, kProfileListKey, KEY_READ | view))
        return false;
    char folder[kPathSize];
    for (const char* name : kProfileFolderValues) {
        if (ReadProfileFolder(profiles, name, folder) && levels.Is(folder))
            return true;
    }
    char sid[kPathSize];
    for (DWORD index = 0; RegEnumKeyA(profiles.Handle(), index, sid, kPathSize) == ERROR_SUCCESS; ++index) {
        RegistryKey profile;
        if (profile.Open(profiles.Handle(), sid, KEY_READ | view) &&
            ReadProfileFolder(profile, "ProfileImagePath", folder) && levels.Is(folder))
            return true;
    }
    return false;
}

// Windows' own trees: every folder in them belongs to Windows or to software
// that Windows keeps there.
bool IsInsideWindowsTree(const FolderLevels& levels)
{
    char folder[kPathSize];
    if (ReadShellFolder(CSIDL_WINDOWS, folder) && levels.IsWithin(folder))
        return true;
    return ReadShellFolder(CSIDL_COMMON_APPDATA, folder) && PathAppend(folder, "Microsoft") &&
           levels.IsWithin(folder);
}

}  // namespace

bool IsSharedFolder(const char* folder)
{
    FolderLevels levels(folder);
    // The 64-bit view holds the profiles also for a 32-bit program on 64-bit
    // Windows; a 32-bit Windows ignores the flag.
    return IsInsideWindowsTree(levels) || IsShellFolder(levels) || IsProfileFolder(levels, 0) ||
           IsProfileFolder(levels, KEY_WOW64_64KEY);
}

bool IsBelowProgramFiles(const char* folder)
{
    const int kProgramFilesIds[] = {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86};
    char programFiles[kPathSize];
    for (int id : kProgramFilesIds) {
        if (ReadShellFolder(id, programFiles) && IsPathInFolderTree(folder, programFiles))
            return true;
    }
    return ReadFolderVariable(kNativeFolderVariables[0], programFiles) && IsPathInFolderTree(folder, programFiles);
}
