// Helpers of the driver installer's unit tests: configuration files, file
// lists, system folders, files held open and the state of the print spooler.
#pragma once
#include <windows.h>
#include <initializer_list>
#include <string>
#include <vector>

#include "string_list.h"
#include "test_files.h"

namespace driver_setup_test {

// Writes content (ANSI, lines separated by '\n') as TQSetup.ini into dir and
// returns its path.
std::wstring WriteConfig(const testing_support::ScratchDir& dir, const std::string& content);

std::vector<std::wstring> Items(const StringList& list);
void Fill(StringList& list, std::initializer_list<const wchar_t*> items);

// Writes a small file whose last-write time lies secondsFromNow away from now.
bool WriteFileAt(const std::wstring& path, const std::string& content, LONGLONG secondsFromNow);

// SHGetSpecialFolderPathW, as the install step asks it.
std::wstring SystemFolder(int csidl);

// Path of the test DLL carrying file version 1.0.0.<build> (1 or 2).
std::wstring VersionedDll(int build);

// Current state of the "Spooler" service (SERVICE_RUNNING, ...), 0 when unknown.
DWORD SpoolerState();

// A file opened for reading that others may read but not write, as a running
// spooler holds its driver files.
class HeldFile {
public:
    explicit HeldFile(const std::wstring& path);
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile();
    bool IsHeld() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// Removes the listed files when it goes out of scope (files put into system folders).
class RemoveAtEnd {
public:
    RemoveAtEnd() = default;
    RemoveAtEnd(const RemoveAtEnd&) = delete;
    RemoveAtEnd& operator=(const RemoveAtEnd&) = delete;
    ~RemoveAtEnd();
    void Add(const std::wstring& path) { paths_.push_back(path); }
    void RemoveNow();

private:
    std::vector<std::wstring> paths_;
};

}  // namespace driver_setup_test
