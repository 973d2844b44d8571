// Runs the driver installer of an assembled medium the way a user would:
// starts <medium>\Setup.exe, presses OK on every message box of Setup.exe and
// of the Setup64.exe it starts, and then tells what the run left behind: new
// driver-store entries, new or changed dependent files and the spooler state.
//
//   medium_run <medium folder>
//
// Exit code 0 when Setup.exe ended with 0, 1 otherwise, 2 for a usage error.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "driver_package.h"
#include "process_tree.h"
#include "spooler_service.h"
#include "test_files.h"

using namespace testing_support;

namespace {

const DWORD kRunTimeoutMs = 120000;

void Print(const std::wstring& line)
{
    const std::string bytes = ToCodePage(line + L"\n", CP_UTF8);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
              &written, nullptr);
}

std::wstring Hex(DWORD value)
{
    wchar_t text[16];
    wsprintfW(text, L"0x%08X", value);
    return text;
}

// A folder watched for files that a run adds or changes, with the name under
// which it is reported (System32 is reached through "sysnative" from here).
struct WatchedFolder {
    std::wstring path;
    std::wstring shownAs;
    std::wstring pattern;
};

// File name -> last-write time and size, of the files in one folder.
using FolderState = std::map<std::wstring, std::pair<ULONGLONG, ULONGLONG>>;

FolderState ReadFolderState(const WatchedFolder& folder)
{
    FolderState state;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder.path + L"\\" + folder.pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return state;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const ULONGLONG time = (ULONGLONG(found.ftLastWriteTime.dwHighDateTime) << 32) |
                               found.ftLastWriteTime.dwLowDateTime;
        const ULONGLONG size = (ULONGLONG(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        state[found.cFileName] = {time, size};
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return state;
}

std::wstring Trim(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L' ');
    const size_t last = text.find_last_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : text.substr(first, last - first + 1);
}

// The explicit target folders ("1:<folder>" in a Name list) of every
// dependent-files section of the medium's TQSetup.ini.
std::vector<std::wstring> ReadExplicitTargets(const std::wstring& ini)
{
    std::vector<std::wstring> folders;
    std::vector<wchar_t> sections(32768);
    GetPrivateProfileSectionNamesW(sections.data(), static_cast<DWORD>(sections.size()), ini.c_str());
    for (const wchar_t* section = sections.data(); *section; section += lstrlenW(section) + 1) {
        for (int i = 1;; ++i) {
            wchar_t key[32];
            wchar_t value[MAX_PATH] = {};
            wsprintfW(key, L"Name%d", i);
            if (!GetPrivateProfileStringW(section, key, L"", value, MAX_PATH, ini.c_str()))
                break;
            const std::wstring list = value;
            const size_t first = list.find(L',');
            if (first == std::wstring::npos)
                continue;
            const size_t second = list.find(L',', first + 1);
            const std::wstring target = Trim(list.substr(first + 1, second - first - 1));
            if (target.compare(0, 2, L"1:") == 0 &&
                std::find(folders.begin(), folders.end(), target.substr(2)) == folders.end())
                folders.push_back(target.substr(2));
        }
    }
    return folders;
}

std::vector<WatchedFolder> FoldersToWatch(const std::wstring& medium)
{
    wchar_t windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring system = std::wstring(windows) + L"\\system32";
    std::vector<WatchedFolder> folders = {
        // Windows names driver-store entries oem<n>.inf; Wine keeps the INF's own name.
        {std::wstring(windows) + L"\\inf", std::wstring(windows) + L"\\inf", L"*.inf"},
        {NativeSystemDir(), system, L"*"},
        {NativeSystemDir() + L"\\downlevel", system + L"\\downlevel", L"*"},
    };
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) {
        folders.push_back({Wow64SystemDir(), Wow64SystemDir(), L"*"});
        folders.push_back({Wow64SystemDir() + L"\\downlevel", Wow64SystemDir() + L"\\downlevel", L"*"});
    }
    for (const std::wstring& target : ReadExplicitTargets(medium + L"\\TQSetup.ini"))
        folders.push_back({target, target, L"*"});
    return folders;
}

// The INF files of the medium (relative names), to tell which one a new
// driver-store entry is a copy of.
void CollectInfFiles(const std::wstring& root, const std::wstring& relative,
                     std::vector<std::wstring>* infs)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(JoinPaths(JoinPaths(root, relative), L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring child = relative.empty() ? name : relative + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CollectInfFiles(root, child, infs);
        else if (name.size() > 4 && lstrcmpiW(name.c_str() + name.size() - 4, L".inf") == 0)
            infs->push_back(child);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::wstring DescribeDriverStoreEntry(const std::wstring& medium, const std::wstring& entry)
{
    std::vector<std::wstring> infs;
    CollectInfFiles(medium, L"", &infs);
    const std::string content = ReadFileBytes(entry);
    for (const std::wstring& inf : infs) {
        if (ReadFileBytes(JoinPaths(medium, inf)) == content)
            return L" (copy of " + inf + L")";
    }
    return L" (not from this medium)";
}

void ReportChanges(const std::wstring& medium, const std::vector<WatchedFolder>& folders,
                   const std::vector<FolderState>& before)
{
    int changes = 0;
    for (size_t i = 0; i < folders.size(); ++i) {
        const bool driverStore = folders[i].pattern != L"*";
        for (const auto& file : ReadFolderState(folders[i])) {
            const auto old = before[i].find(file.first);
            if (old != before[i].end() && old->second == file.second)
                continue;
            const std::wstring shown = folders[i].shownAs + L"\\" + file.first;
            const wchar_t* how = old == before[i].end() ? L"new" : L"replaced";
            if (driverStore)
                Print(L"Driver store: " + shown + DescribeDriverStoreEntry(medium, folders[i].path + L"\\" + file.first));
            else
                Print(std::wstring(L"Installed (") + how + L"): " + shown);
            ++changes;
        }
    }
    if (changes == 0)
        Print(L"Installed: nothing new or changed");
}

void ReportSpooler()
{
    const DWORD state = SpoolerState();
    Print(L"Spooler: " + std::wstring(state == SERVICE_RUNNING   ? L"running"
                                      : state == SERVICE_STOPPED ? L"stopped"
                                      : state == 0               ? L"unknown"
                                                                 : L"changing"));
}

// One program run of the medium: prints every message box answered and the
// exit code; true when the program ended with 0.
bool RunMediumProgram(const std::wstring& medium, const wchar_t* program)
{
    const std::wstring path = medium + L"\\" + program;
    Print(std::wstring(L"== ") + program);
    if (!FileExists(path)) {
        Print(L"missing: " + path);
        return false;
    }
    const AnsweredRun run = RunAnsweringBoxes(L"\"" + path + L"\"", kRunTimeoutMs);
    if (!run.started) {
        Print(L"could not be started: " + path);
        return false;
    }
    for (const AnsweredBox& box : run.boxes)
        Print(L"Message box of " + box.program + L": [" + box.caption + L"] " + box.text);
    if (!run.ended) {
        Print(L"did not end within " + std::to_wstring(kRunTimeoutMs / 1000) + L" s; terminated");
        return false;
    }
    Print(std::wstring(program) + L" exited with " + std::to_wstring(static_cast<int>(run.exitCode)) +
          L" (" + Hex(run.exitCode) + L")");
    return run.exitCode == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        Print(L"usage: medium_run <medium folder>");
        return 2;
    }
    std::wstring medium = argv[1];
    while (!medium.empty() && medium.back() == L'\\')
        medium.pop_back();

    const std::vector<WatchedFolder> folders = FoldersToWatch(medium);
    std::vector<FolderState> before;
    for (const WatchedFolder& folder : folders)
        before.push_back(ReadFolderState(folder));

    const bool driverInstalled = RunMediumProgram(medium, L"Setup.exe");

    ReportChanges(medium, folders, before);
    ReportSpooler();
    return driverInstalled ? 0 : 1;
}
