// Whether two paths name one file or folder, whatever their spelling.
#pragma once
#include <windows.h>

// Where a file lies on its volume: the same for every name of one file.
struct FileIdentity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
};

// The identity of the file or folder at path (links followed); false when it
// cannot be opened.
bool ReadFileIdentity(const char* path, FileIdentity* identity);

// The identity of the file that handle holds open.
bool ReadHandleIdentity(HANDLE handle, FileIdentity* identity);

bool IsSameIdentity(const FileIdentity& one, const FileIdentity& other);

// True when both paths open and lie on the same volume with the same file
// index: letter case, short names and relative forms of one file agree.
// False when either cannot be opened.
bool IsSameFile(const char* first, const char* second);
