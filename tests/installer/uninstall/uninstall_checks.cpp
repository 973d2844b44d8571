#include "uninstall_checks.h"

#include <gtest/gtest.h>

#include "test_files.h"

using namespace testing_support;

namespace uninstall_testing {

namespace {

const DWORD kStepMs = 30000;
const wchar_t kSessionManagerKey[] = L"System\\CurrentControlSet\\Control\\Session Manager";

// Deletions at restart: the system's list of pending operations (source
// names, "\??\" in front), and the "NUL=" lines of "wininit.ini" where that
// list cannot be written.
std::vector<std::wstring> ScheduledDeletions()
{
    std::vector<std::wstring> found;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        std::vector<wchar_t> list(65536);
        DWORD size = static_cast<DWORD>(list.size() * sizeof(wchar_t)) - 2 * sizeof(wchar_t);
        LONG result = RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(list.data()), &size);
        RegCloseKey(key);
        for (const wchar_t* line = list.data(); result == ERROR_SUCCESS && *line; line += lstrlenW(line) + 1)
            found.push_back(line);
    }
    std::vector<wchar_t> section(32768);
    GetPrivateProfileSectionW(L"rename", section.data(), static_cast<DWORD>(section.size()), L"wininit.ini");
    for (const wchar_t* line = section.data(); *line; line += lstrlenW(line) + 1)
        found.push_back(line);
    return found;
}

// A 32-bit program's system directory is the WOW64 one, which Wine names
// in the module path of the copy, while GetSystemDirectory names the other.
std::vector<std::wstring> SystemDirNames(const std::wstring& fileName)
{
    std::vector<std::wstring> names;
    wchar_t dir[MAX_PATH] = {};
    if (GetSystemDirectoryW(dir, MAX_PATH))
        names.push_back(std::wstring(dir) + L"\\" + fileName);
    if (GetSystemWow64DirectoryW(dir, MAX_PATH))
        names.push_back(std::wstring(dir) + L"\\" + fileName);
    return names;
}

}  // namespace

std::wstring UninstallCaption(const std::wstring& title)
{
    return L"Uninstallation of " + title;
}

UninstallResult RunUninstallToTheEnd(const std::wstring& commandLine, const std::wstring& dialogCaption,
                                     const std::vector<int>& answers)
{
    UninstallResult result;
    UninstallDriver driver;
    if (driver.Start(commandLine, dialogCaption, kStepMs)) {
        result.finishDisabledAtFirst = !driver.FinishEnabled();
        if (driver.WaitForRunEnd(answers, kStepMs)) {
            result.status = driver.Status();
            driver.PressFinish(kStepMs, &result.exitCode);
        }
    }
    result.failure = driver.Failure();
    result.confirmation = driver.Confirmation();
    result.boxes = driver.Boxes();
    return result;
}

bool KeyExists(HKEY root, const std::wstring& path)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

ScopedPendingDeletions::ScopedPendingDeletions()
    : value_(HKEY_LOCAL_MACHINE, kSessionManagerKey, L"PendingFileRenameOperations")
{
}

void ExpectScheduledForDeletion(const std::wstring& fileName)
{
    std::wstring all;
    for (const std::wstring& line : ScheduledDeletions()) {
        for (const std::wstring& path : SystemDirNames(fileName)) {
            wchar_t shortPath[MAX_PATH] = {};
            GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
            if (lstrcmpiW(line.c_str(), (L"\\??\\" + path).c_str()) == 0 ||
                lstrcmpiW(line.c_str(), (L"NUL=" + std::wstring(shortPath)).c_str()) == 0)
                return;
        }
        all += line + L"|";
    }
    ADD_FAILURE() << "not scheduled for deletion; scheduled: " << ToCodePage(all, CP_UTF8);
}

}  // namespace uninstall_testing
