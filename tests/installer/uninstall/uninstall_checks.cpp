#include "uninstall_checks.h"

#include <gtest/gtest.h>

#include "pending_deletions.h"
#include "test_files.h"

using namespace testing_support;

namespace uninstall_testing {

namespace {

const DWORD kStepMs = 30000;

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
        result.dialogCaption = WindowText(driver.Dialog());
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

ScopedPendingDeletions::ScopedPendingDeletions()
    : value_(HKEY_LOCAL_MACHINE, kSessionManagerKey, L"PendingFileRenameOperations")
{
}

ScopedPendingDeletions::~ScopedPendingDeletions()
{
    wchar_t dir[MAX_PATH] = {};
    if (!GetSystemDirectoryW(dir, MAX_PATH))
        return;
    const std::wstring copy = std::wstring(dir) + L"\\install.exe";
    // The copy may still be ending a moment after its dialog closed.
    for (int wait = 0; wait < 50 && !DeleteFileW(copy.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND; ++wait)
        Sleep(100);
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
