// Scratch folders and files for tests, and the Wine settings that a test may
// change for one program (its Windows version).
#pragma once
#include <windows.h>
#include <string>

namespace testing_support {

// A new empty folder below the prefix's temporary folder, removed with
// everything in it when the object goes out of scope.
class ScratchDir {
public:
    explicit ScratchDir(const wchar_t* stem = L"t");
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir();
    const std::wstring& Path() const { return path_; }
    // Path of a file or folder inside the scratch folder.
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

std::wstring JoinPaths(const std::wstring& dir, const std::wstring& name);
bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
// Writes bytes as they stand (ANSI or UTF-8 text, binary data).
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
// Creates every missing folder of path.
bool CreateDirectories(const std::wstring& path);
bool RemoveTree(const std::wstring& path);
// Copies every file and folder below source into target (created if needed).
bool CopyTree(const std::wstring& source, const std::wstring& target);
bool SetFileWriteTime(const std::wstring& path, const FILETIME& time);
FILETIME FileWriteTime(const std::wstring& path);
// A FILETIME shifted by the given number of seconds.
FILETIME ShiftTime(const FILETIME& time, LONGLONG seconds);

// Windows version that Wine reports to one program (by its file name), such
// as L"win81"; the setting is removed again when the object goes out of scope.
class WineVersionFor {
public:
    WineVersionFor(const wchar_t* exeName, const wchar_t* version);
    WineVersionFor(const WineVersionFor&) = delete;
    WineVersionFor& operator=(const WineVersionFor&) = delete;
    ~WineVersionFor();

private:
    std::wstring key_;
};

// UTF-16 <-> bytes in a code page.
std::string ToCodePage(const std::wstring& text, UINT codePage);
std::wstring FromCodePage(const std::string& text, UINT codePage);

}  // namespace testing_support
