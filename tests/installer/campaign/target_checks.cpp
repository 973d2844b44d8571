#include "target_checks.h"

#include <shlobj.h>
#include <algorithm>
#include <cstring>

#include "test_files.h"

namespace campaign {

namespace {

std::wstring FullPath(const std::string& path)
{
    const std::wstring wide = testing_support::FromCodePage(path, CP_ACP);
    if (wide.empty())
        return L"";
    wchar_t full[4 * MAX_PATH];
    DWORD length = GetFullPathNameW(wide.c_str(), ARRAYSIZE(full), full, nullptr);
    return length > 0 && length < ARRAYSIZE(full) ? std::wstring(full, length) : L"";
}

// A folder as it is compared: full, long where it exists, without a
// trailing separator.
std::wstring NormalFolder(const std::wstring& folder)
{
    wchar_t full[4 * MAX_PATH];
    DWORD length = GetFullPathNameW(folder.c_str(), ARRAYSIZE(full), full, nullptr);
    if (length == 0 || length >= ARRAYSIZE(full))
        return folder;
    wchar_t longForm[4 * MAX_PATH];
    const DWORD longLength = GetLongPathNameW(full, longForm, ARRAYSIZE(longForm));
    std::wstring normal = longLength > 0 && longLength < ARRAYSIZE(longForm) ? longForm : full;
    while (normal.size() > 1 && normal.back() == L'\\')
        normal.pop_back();
    return normal;
}

bool IsRoot(const std::wstring& normal)
{
    if (normal.size() == 2 && normal[1] == L':')
        return true;
    if (normal.compare(0, 2, L"\\\\") != 0)
        return false;
    const size_t server = normal.find(L'\\', 2);
    return server == std::wstring::npos || normal.find(L'\\', server + 1) == std::wstring::npos;
}

}  // namespace

SharedFolderList::SharedFolderList()
{
    const int ids[] = {CSIDL_WINDOWS,         CSIDL_SYSTEM,          CSIDL_SYSTEMX86,   CSIDL_PROGRAM_FILES,
                       CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86,
                       CSIDL_COMMON_APPDATA,  CSIDL_PROFILE,         CSIDL_DESKTOPDIRECTORY,
                       CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS, CSIDL_STARTMENU,
                       CSIDL_COMMON_STARTMENU, CSIDL_PROGRAMS,       CSIDL_COMMON_PROGRAMS};
    for (int id : ids) {
        wchar_t folder[MAX_PATH];
        if (SUCCEEDED(SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, folder)))
            folders_.push_back(NormalFolder(folder));
        if (id == CSIDL_PROFILE && !folders_.empty())
            folders_.push_back(folders_.back().substr(0, folders_.back().find_last_of(L'\\')));
    }
}

bool SharedFolderList::IsRootOrShared(const std::string& folder) const
{
    const std::wstring normal = NormalFolder(testing_support::FromCodePage(folder, CP_ACP));
    if (IsRoot(normal))
        return true;
    return std::any_of(folders_.begin(), folders_.end(), [&](const std::wstring& shared) {
        return CompareStringOrdinal(normal.c_str(), -1, shared.c_str(), -1, TRUE) == CSTR_EQUAL;
    });
}

bool InFolderTree(const std::string& path, const std::string& folder)
{
    std::wstring fullPath = FullPath(path);
    std::wstring fullFolder = FullPath(folder);
    if (fullPath.empty() || fullFolder.empty())
        return false;
    // "C:\dir\" and "C:\dir" are one folder; a drive root keeps its separator.
    const bool driveRoot = fullFolder.size() == 3 && fullFolder[1] == L':';
    if (fullFolder.back() == L'\\' && !driveRoot)
        fullFolder.pop_back();
    if (fullPath.size() < fullFolder.size() ||
        CompareStringOrdinal(fullPath.c_str(), static_cast<int>(fullFolder.size()), fullFolder.c_str(),
                             static_cast<int>(fullFolder.size()), TRUE) != CSTR_EQUAL)
        return false;
    std::wstring below = fullPath.substr(fullFolder.size());
    if (!below.empty() && below[0] != L'\\' && !driveRoot)
        return false;
    return below.find(L':') == std::wstring::npos;
}

bool IsRootedPath(const std::string& path)
{
    auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && separator(path[2]))
        return true;
    return !path.empty() && separator(path[0]);
}

bool TerminatedWithin(const char* buffer, size_t size)
{
    return std::memchr(buffer, 0, size) != nullptr;
}

std::string SystemDirectory()
{
    char dir[MAX_PATH] = "";
    GetSystemDirectoryA(dir, MAX_PATH);
    return dir;
}

std::string WindowsDirectory()
{
    char dir[MAX_PATH] = "";
    GetWindowsDirectoryA(dir, MAX_PATH);
    return dir;
}

}  // namespace campaign
