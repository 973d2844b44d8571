// The campaign's properties, checked without the product's path helpers:
// wide full paths, compared without regard to case.
#pragma once
#include <windows.h>
#include <string>

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

}  // namespace campaign
