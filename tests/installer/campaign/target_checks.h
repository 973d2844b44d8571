// The campaign's properties, checked without the product's path helpers:
// wide full paths, compared without regard to case.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace campaign {

// True when path (ANSI, system code page) made full is folder made full or
// lies below it, and the part below names no drive or stream.
bool InFolderTree(const std::string& path, const std::string& folder);

// True for "X:\...", "\..." and "\\server\share\...": the forms that the
// shortcut grammar takes as given.
bool IsRootedPath(const std::string& path);

// True when a zero terminates buffer within its size.
bool TerminatedWithin(const char* buffer, size_t size);

// The system and the Windows directory, as the product reads them.
std::string SystemDirectory();
std::string WindowsDirectory();

// The folders that other software shares, as the campaign knows them: the
// shell's folders of the system (Windows, system, Program Files and Common
// Files in both forms, ProgramData, the Users folder and the profile, and the
// Desktop, Documents, Start Menu and Programs of the user and of all users),
// and the roots of drives and shares.
class SharedFolderList {
public:
    SharedFolderList();
    // folder (ANSI, system code page) made full and long, compared without
    // regard to case.
    bool IsRootOrShared(const std::string& folder) const;

private:
    std::vector<std::wstring> folders_;
};

}  // namespace campaign
