#include "installed_files.h"

#include "package_folder.h"

bool InstalledFiles::Add(const wchar_t* target, const wchar_t* source)
{
    if (HasFile(target))
        return true;
    return targets.Add(target) && sources.Add(source);
}

int InstalledFiles::Find(const wchar_t* target) const
{
    for (int i = 0; i < targets.Count(); ++i) {
        if (SamePath(targets.At(i), target))
            return i;
    }
    return -1;
}

bool InstalledFiles::HasFolder(const wchar_t* folder) const
{
    const int length = lstrlenW(folder);
    if (length == 0)
        return true;
    for (int i = 0; i < targets.Count(); ++i) {
        const wchar_t* target = targets.At(i);
        if (lstrlenW(target) > length && target[length] == L'\\' &&
            CompareStringOrdinal(target, length, folder, length, TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}
