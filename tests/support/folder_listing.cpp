#include "folder_listing.h"

#include <windows.h>

namespace testing_support {

namespace {

void CollectFiles(const std::wstring& root, const std::wstring& relative, std::vector<std::wstring>* files)
{
    WIN32_FIND_DATAW found;
    const std::wstring dir = relative.empty() ? root : root + L"\\" + relative;
    HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring child = relative.empty() ? name : relative + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectFiles(root, child, files);
        else
            files->push_back(child);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

std::vector<std::wstring> FileNamesIn(const std::wstring& dir, const wchar_t* pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::vector<std::wstring> FilesBelow(const std::wstring& root)
{
    std::vector<std::wstring> files;
    CollectFiles(root, L"", &files);
    return files;
}

}  // namespace testing_support
