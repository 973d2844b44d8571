#include "target_checks.h"

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

}  // namespace

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
