// Folder links (junctions and symbolic links to folders) in a path that an
// installer is about to create or fill with administrator rights: a user who
// could make the link could send the files anywhere, so such a path is not
// used. Written once for install (ANSI) and the driver installer (Unicode).
#pragma once
#include <windows.h>

#ifndef ERROR_REPARSE_POINT_ENCOUNTERED
#define ERROR_REPARSE_POINT_ENCOUNTERED 4395L
#endif

inline bool IsFolderLink(DWORD attributes)
{
    const DWORD link = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & link) == link;
}

namespace folder_links_detail {

inline DWORD AttributesOf(const char* path)
{
    return GetFileAttributesA(path);
}

inline DWORD AttributesOf(const wchar_t* path)
{
    return GetFileAttributesW(path);
}

// Double-byte aware for the ANSI program: a trail byte is never a separator.
inline char* NextCharacter(char* p)
{
    return CharNextA(p);
}

inline wchar_t* NextCharacter(wchar_t* p)
{
    return p + 1;
}

template <class Char>
bool IsSeparator(Char c)
{
    return c == '\\' || c == '/';
}

// The first character after the root of a full path ("X:\", or the share of
// "\\server\share\"); null when the path has no such root.
template <class Char>
Char* SkipRoot(Char* path)
{
    if (path[0] != '\0' && path[1] == ':' && IsSeparator(path[2]))
        return path + 3;
    if (!IsSeparator(path[0]) || !IsSeparator(path[1]))
        return nullptr;
    Char* p = path + 2;
    for (int separators = 0; *p; p = NextCharacter(p)) {
        if (IsSeparator(*p) && ++separators == 2)
            return p + 1;
    }
    return nullptr;
}

}  // namespace folder_links_detail

// True when a level of folder below its root that exists now is a folder
// link, the folder itself included; also true for a path without a drive or
// share root, whose levels cannot be told. folder is cut at each level while
// it is looked at and restored.
template <class Char>
bool LeadsThroughFolderLink(Char* folder)
{
    using namespace folder_links_detail;
    Char* p = SkipRoot(folder);
    if (!p)
        return true;
    for (;; p = NextCharacter(p)) {
        if (*p != '\0' && !IsSeparator(*p))
            continue;
        const Char kept = *p;
        *p = '\0';
        const bool link = IsFolderLink(AttributesOf(folder));
        *p = kept;
        if (link)
            return true;
        if (kept == '\0')
            return false;
    }
}
