#include "path_helpers.h"

#include <strsafe.h>

#include "globals.h"

bool IsPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool HasDrivePrefix(const char* path)
{
    char letter = static_cast<char>(path[0] | 0x20);
    return letter >= 'a' && letter <= 'z' && path[1] == ':';
}

char* FindFirstSeparator(char* path)
{
    for (char* p = path; *p; p = CharNextA(p)) {
        if (IsPathSeparator(*p))
            return p;
    }
    return HasDrivePrefix(path) ? path + 1 : nullptr;
}

char* FindLastSeparator(char* path)
{
    char* last = nullptr;
    for (char* p = path; *p; p = CharNextA(p)) {
        if (IsPathSeparator(*p))
            last = p;
    }
    if (!last && HasDrivePrefix(path))
        last = path + 1;
    return last;
}

char* PathLastComponent(char* path)
{
    char* separator = FindLastSeparator(path);
    return separator ? separator + 1 : path;
}

char* PathExtension(char* path)
{
    char* component = PathLastComponent(path);
    if (lstrcmpA(component, ".") == 0 || lstrcmpA(component, "..") == 0)
        return nullptr;
    char* dot = nullptr;
    for (char* p = component; *p; p = CharNextA(p)) {
        if (*p == '.')
            dot = p;
    }
    return dot == component ? nullptr : dot;
}

char* FindRootEnd(char* path)
{
    if (HasDrivePrefix(path) && IsPathSeparator(path[2]))
        return path + 2;
    if (IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
        char* afterServer = FindFirstSeparator(path + 2);
        return afterServer ? FindFirstSeparator(afterServer + 1) : nullptr;
    }
    if (IsPathSeparator(path[0]))
        return path;
    return nullptr;
}

char* PathAppend(char* directory, const char* name)
{
    char* separator = FindLastSeparator(directory);
    bool fits = true;
    if (!separator || separator[1] != '\0')
        fits = SUCCEEDED(StringCchCatA(directory, kPathSize, "\\"));
    if (fits)
        fits = SUCCEEDED(StringCchCatA(directory, kPathSize, name));
    return fits ? directory : nullptr;
}

char* PathSetExtension(char* path, const char* extension)
{
    char* dot = PathExtension(path);
    if (dot) {
        dot[1] = '\0';
    } else if (FAILED(StringCchCatA(path, kPathSize, "."))) {
        return nullptr;
    }
    return SUCCEEDED(StringCchCatA(path, kPathSize, extension)) ? path : nullptr;
}

char* PathFullName(char* path)
{
    char full[kPathSize];
    DWORD length = GetFullPathNameA(path, kPathSize, full, nullptr);
    if (length == 0 || length >= kPathSize)
        return path;
    char* separator = FindLastSeparator(full);
    if (separator && separator[1] == '\0' && separator - full > 2)
        *separator = '\0';
    lstrcpynA(path, full, kPathSize);
    return path;
}
