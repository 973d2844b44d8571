#include "package_folder.h"

#include <strsafe.h>

namespace {

const wchar_t* const kMediumPrograms[] = {L"install.exe", L"Setup.exe", L"x64\\Setup64.exe"};

bool Join(wchar_t (&path)[kPathChars], const wchar_t* dir, const wchar_t* relative)
{
    return SUCCEEDED(StringCchPrintfW(path, kPathChars, L"%s\\%s", dir, relative));
}

bool IsFile(const wchar_t* path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const wchar_t* path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// Adds the files below root\relative (relative may be empty) to files as
// paths relative to root.
bool ListTree(const wchar_t* root, const wchar_t* relative, StringList& files)
{
    wchar_t pattern[kPathChars];
    if (FAILED(StringCchPrintfW(pattern, kPathChars, relative[0] ? L"%s\\%s\\*" : L"%s%s\\*", root, relative)))
        return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool listed = true;
    do {
        if (lstrcmpW(found.cFileName, L".") == 0 || lstrcmpW(found.cFileName, L"..") == 0)
            continue;
        wchar_t name[kPathChars];
        if (FAILED(StringCchPrintfW(name, kPathChars, relative[0] ? L"%s\\%s" : L"%s%s", relative,
                                    found.cFileName))) {
            listed = false;
            break;
        }
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            listed = ListTree(root, name, files);
        else
            listed = files.Add(name);
    } while (listed && FindNextFileW(search, &found));
    FindClose(search);
    return listed;
}

}  // namespace

const wchar_t* LastComponent(const wchar_t* path)
{
    const wchar_t* last = path;
    for (const wchar_t* c = path; *c; ++c) {
        if (IsSeparator(*c))
            last = c + 1;
    }
    return last;
}

bool IsMediumProgram(const wchar_t* relative)
{
    for (const wchar_t* program : kMediumPrograms) {
        if (SamePath(relative, program))
            return true;
    }
    return false;
}

void NormaliseRelative(wchar_t* path)
{
    wchar_t* out = path;
    const wchar_t* in = path;
    while (in[0] == L'.' && IsSeparator(in[1]))
        in += 2;
    for (; *in; ++in) {
        const wchar_t c = IsSeparator(*in) ? L'\\' : *in;
        if (c == L'\\' && out > path && out[-1] == L'\\')
            continue;
        *out++ = c;
    }
    *out = L'\0';
}

bool SamePath(const wchar_t* a, const wchar_t* b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

bool ListHoldsPath(const StringList& list, const wchar_t* path)
{
    for (int i = 0; i < list.Count(); ++i) {
        if (SamePath(list.At(i), path))
            return true;
    }
    return false;
}

bool HasPrefix(const wchar_t* text, const wchar_t* prefix, bool ignoreCase)
{
    const int length = lstrlenW(prefix);
    return lstrlenW(text) >= length &&
           CompareStringOrdinal(text, length, prefix, length, ignoreCase ? TRUE : FALSE) == CSTR_EQUAL;
}

bool IsAbsoluteOrRooted(const wchar_t* path)
{
    return IsSeparator(path[0]) || (path[0] && path[1] == L':');
}

bool ClimbsOut(const wchar_t* path)
{
    for (const wchar_t* component = path; *component;) {
        const wchar_t* end = component;
        while (*end && !IsSeparator(*end))
            ++end;
        if (end - component == 2 && component[0] == L'.' && component[1] == L'.')
            return true;
        component = *end ? end + 1 : end;
    }
    return false;
}

bool PackageFolder::Open(const wchar_t* dir)
{
    if (FAILED(StringCchCopyW(dir_, kPathChars, dir)))
        return false;
    size_t length = lstrlenW(dir_);
    while (length > 3 && IsSeparator(dir_[length - 1]))
        dir_[--length] = L'\0';
    return IsFolder(dir_);
}

bool PackageFolder::FindFile(const wchar_t* relative, wchar_t (&path)[kPathChars]) const
{
    if (Join(path, dir_, relative) && IsFile(path))
        return true;
    for (int i = 0; i < builtFiles_.Count(); ++i) {
        if (SamePath(LastComponent(builtFiles_.At(i)), relative))
            return SUCCEEDED(StringCchCopyW(path, kPathChars, builtFiles_.At(i)));
    }
    path[0] = L'\0';
    return IsMediumProgram(relative);
}

bool PackageFolder::HasFile(const wchar_t* relative) const
{
    wchar_t path[kPathChars];
    return FindFile(relative, path);
}

bool PackageFolder::HasFolder(const wchar_t* relative) const
{
    wchar_t path[kPathChars];
    return Join(path, dir_, relative) && IsFolder(path);
}

bool PackageFolder::ListMediumFiles(StringList& files) const
{
    if (!ListTree(dir_, L"", files))
        return false;
    for (int i = 0; i < builtFiles_.Count(); ++i) {
        const wchar_t* name = LastComponent(builtFiles_.At(i));
        if (!ListHoldsPath(files, name) && !files.Add(name))
            return false;
    }
    for (const wchar_t* program : kMediumPrograms) {
        if (!ListHoldsPath(files, program) && !files.Add(program))
            return false;
    }
    return true;
}
