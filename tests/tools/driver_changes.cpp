#include "driver_changes.h"

#include <algorithm>

#include "driver_package.h"
#include "folder_listing.h"
#include "run_output.h"
#include "spooler_service.h"
#include "test_files.h"

using namespace testing_support;

namespace medium_run {

namespace {

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

bool IsInfName(const std::wstring& name)
{
    return name.size() > 4 && lstrcmpiW(name.c_str() + name.size() - 4, L".inf") == 0;
}

void ReportSpooler()
{
    const DWORD state = SpoolerState();
    Print(L"Spooler: " + std::wstring(state == SERVICE_RUNNING   ? L"running"
                                      : state == SERVICE_STOPPED ? L"stopped"
                                      : state == 0               ? L"unknown"
                                                                 : L"changing"));
}

}  // namespace

DriverChanges::DriverChanges(const std::wstring& medium) : medium_(medium)
{
    wchar_t windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring system = std::wstring(windows) + L"\\system32";
    folders_ = {
        // Windows names driver-store entries oem<n>.inf; Wine keeps the INF's own name.
        {std::wstring(windows) + L"\\inf", std::wstring(windows) + L"\\inf", L"*.inf"},
        {NativeSystemDir(), system, L"*"},
        {NativeSystemDir() + L"\\downlevel", system + L"\\downlevel", L"*"},
    };
    BOOL wow64 = FALSE;
    if (IsWow64Process(GetCurrentProcess(), &wow64) && wow64) {
        folders_.push_back({Wow64SystemDir(), Wow64SystemDir(), L"*"});
        folders_.push_back({Wow64SystemDir() + L"\\downlevel", Wow64SystemDir() + L"\\downlevel", L"*"});
    }
    for (const std::wstring& target : ReadExplicitTargets(medium + L"\\TQSetup.ini"))
        folders_.push_back({target, target, L"*"});
    for (const WatchedFolder& folder : folders_)
        before_.push_back(ReadFolderState(folder));
}

DriverChanges::FolderState DriverChanges::ReadFolderState(const WatchedFolder& folder)
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

// Which INF of the medium a new driver-store entry is a copy of.
std::wstring DriverChanges::DescribeDriverStoreEntry(const std::wstring& entry) const
{
    const std::string content = ReadFileBytes(entry);
    for (const std::wstring& file : FilesBelow(medium_)) {
        if (IsInfName(file) && ReadFileBytes(JoinPaths(medium_, file)) == content)
            return L" (copy of " + file + L")";
    }
    return L" (not from this medium)";
}

void DriverChanges::Report() const
{
    int changes = 0;
    for (size_t i = 0; i < folders_.size(); ++i) {
        const bool driverStore = folders_[i].pattern != L"*";
        for (const auto& file : ReadFolderState(folders_[i])) {
            const auto old = before_[i].find(file.first);
            if (old != before_[i].end() && old->second == file.second)
                continue;
            const std::wstring shown = folders_[i].shownAs + L"\\" + file.first;
            const wchar_t* how = old == before_[i].end() ? L"new" : L"replaced";
            if (driverStore)
                Print(L"Driver store: " + shown + DescribeDriverStoreEntry(folders_[i].path + L"\\" + file.first));
            else
                Print(std::wstring(L"Installed (") + how + L"): " + shown);
            ++changes;
        }
    }
    if (changes == 0)
        Print(L"Installed: nothing new or changed");
    ReportSpooler();
}

}  // namespace medium_run
