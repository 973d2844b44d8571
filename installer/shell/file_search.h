// A directory search (FindFirstFileA / FindNextFileA) whose handle is closed
// on every way out of the scope that holds it.
#pragma once
#include <windows.h>

class FileSearch {
public:
    FileSearch(const char* pattern, WIN32_FIND_DATAA* found) : handle_(FindFirstFileA(pattern, found)) {}
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;
    ~FileSearch()
    {
        if (IsOpen())
            FindClose(handle_);
    }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA* found) { return FindNextFileA(handle_, found) != FALSE; }

private:
    HANDLE handle_;
};
