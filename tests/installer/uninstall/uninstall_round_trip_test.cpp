// The whole uninstall of an installed package, started as the system's list
// of installed programs starts it: the registered command, and Wine's own
// uninstaller. Afterwards nothing of the package may be left but its shared
// system file and the copy in the system directory, whose deletion waits for
// the next restart.
#include <gtest/gtest.h>

#include "code_page_fixture.h"
#include "installed_package.h"
#include "registry_fixture.h"

using namespace testing_support;
using namespace uninstall_testing;
using installer_testing::ScopedRegistryValue;

namespace {

const wchar_t kSessionManagerKey[] = L"System\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kAbnormalReg[] = L"Found abnormal Reg section.";

// [Reg] entries that must delete nothing: a lower-case root, an unsupported
// root, a root alone, and an entry after the gap that ends the list.
const char kRejectedRegLines[] =
    "2=hkey_current_user\\Software\\Uninstall Test Kept\r\n"
    "3=HKEY_USERS\\.DEFAULT\\Software\\Uninstall Test Kept\r\n"
    "4=HKEY_CURRENT_USER\\\r\n"
    "6=HKEY_CURRENT_USER\\Software\\Uninstall Test Kept\r\n";

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

void ExpectScheduledForDeletion(const std::wstring& fileInSystemDir)
{
    std::wstring all;
    for (const std::wstring& line : ScheduledDeletions()) {
        for (const std::wstring& path : SystemDirNames(fileInSystemDir)) {
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

void ExpectPackageRemoved(const InstalledPackage& package)
{
    for (const std::wstring& file : InstalledPackage::InstalledFiles())
        EXPECT_FALSE(FileExists(package.InInstallDir(file))) << file;
    EXPECT_FALSE(DirectoryExists(package.InstallDir()));
    EXPECT_FALSE(FileExists(package.WindowsFile()));
    EXPECT_TRUE(FileExists(package.SystemFile())) << "a file in the system directory is shared and stays";

    EXPECT_FALSE(DirectoryExists(package.MenuDir()));
    EXPECT_FALSE(DirectoryExists(package.MenuParent())) << "left empty by the group";
    EXPECT_TRUE(FileExists(package.ProgramsDir() + L"\\Other Program.lnk"));
    EXPECT_FALSE(FileExists(package.DesktopLink()));
    EXPECT_FALSE(FileExists(package.StartupLink()));

    EXPECT_FALSE(UserKeyExists(kPackageRegistryKey));
    EXPECT_FALSE(MachineKeyExists(kComponentKey)) << "DllUnregisterServer did not run";
    EXPECT_FALSE(UninstallEntryExists(kInstallKey));

    EXPECT_FALSE(FileExists(package.Marker()));
    ExpectScheduledForDeletion(L"install.exe");
}

void ExpectRejectedRegEntriesKept()
{
    EXPECT_TRUE(UserKeyExists(kKeptRegistryKey));
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_USERS, (std::wstring(L".DEFAULT\\") + kKeptRegistryKey).c_str(), 0,
                                           KEY_READ, &key));
    RegCloseKey(key);
}

void ExpectThreeAbnormalRegBoxes(const UninstallResult& result)
{
    ASSERT_EQ(3u, result.boxes.size());
    for (const MessageBoxSeen& box : result.boxes) {
        EXPECT_EQ(kAbnormalReg, box.text);
        EXPECT_EQ(L"Error", box.caption);
    }
}

class UninstallRoundTrip : public ::testing::Test {
protected:
    // Deletion at restart goes to the prefix's list of pending operations,
    // which is put back afterwards.
    ScopedRegistryValue pending_{HKEY_LOCAL_MACHINE, kSessionManagerKey, L"PendingFileRenameOperations"};
};

}  // namespace

TEST_F(UninstallRoundTrip, RegisteredCommandRemovesThePackage)
{
    PackageOptions options;
    options.regLines = kRejectedRegLines;
    InstalledPackage package(options);
    ASSERT_EQ("", package.Failure());
    const std::wstring command = RegisteredUninstallCommand(kInstallKey);
    ASSERT_EQ(L"\"" + package.InInstallDir(L"install.exe") + L"\" /r", command);

    UninstallResult result = RunUninstallToTheEnd(command, UninstallCaption(package.Title()));
    ASSERT_EQ("", result.failure);
    EXPECT_EQ(L"Uninstall Test Tool will be uninstalled.", result.confirmation.text);
    EXPECT_EQ(L"Uninstall Test Tool", result.confirmation.caption);
    EXPECT_TRUE(result.finishDisabledAtFirst);
    ExpectThreeAbnormalRegBoxes(result);
    EXPECT_EQ(L"Uninstall Test Tool has been successfully uninstalled.", result.status);
    EXPECT_EQ(1u, result.exitCode);

    ExpectPackageRemoved(package);
    ExpectRejectedRegEntriesKept();
}

TEST_F(UninstallRoundTrip, WineUninstallerRunsTheRegisteredCommand)
{
    InstalledPackage package;
    ASSERT_EQ("", package.Failure());

    UninstallResult result = RunUninstallToTheEnd(std::wstring(L"uninstaller.exe --remove ") + kInstallKey,
                                                  UninstallCaption(package.Title()));
    ASSERT_EQ("", result.failure);
    EXPECT_EQ(L"Uninstall Test Tool will be uninstalled.", result.confirmation.text);
    EXPECT_TRUE(result.boxes.empty());
    EXPECT_EQ(L"Uninstall Test Tool has been successfully uninstalled.", result.status);
    ExpectPackageRemoved(package);
}

TEST_F(UninstallRoundTrip, FinishBeforeTheRunRemovesNothing)
{
    InstalledPackage package;
    ASSERT_EQ("", package.Failure());
    UninstallDriver driver;
    ASSERT_TRUE(driver.Start(RegisteredUninstallCommand(kInstallKey), UninstallCaption(package.Title()), 30000))
        << driver.Failure();
    EXPECT_FALSE(driver.FinishEnabled());
    EXPECT_EQ(L"Uninstalling ...", driver.Status());
    DWORD exitCode = 0;
    ASSERT_TRUE(driver.SendFinishCommand(1500, &exitCode)) << "the dialog must end before its timer fires";
    EXPECT_EQ(1u, exitCode);

    for (const std::wstring& file : InstalledPackage::InstalledFiles())
        EXPECT_TRUE(FileExists(package.InInstallDir(file))) << file;
    EXPECT_TRUE(FileExists(package.WindowsFile()));
    EXPECT_TRUE(FileExists(package.DesktopLink()));
    EXPECT_TRUE(DirectoryExists(package.MenuDir()));
    EXPECT_TRUE(UserKeyExists(kPackageRegistryKey));
    EXPECT_TRUE(MachineKeyExists(kComponentKey));
    EXPECT_TRUE(UninstallEntryExists(kInstallKey));
    EXPECT_FALSE(FileExists(package.Marker()));
}

// Runs only in the registration made with LC_ALL=ja_JP.UTF-8.
using JapaneseUninstall = JapaneseCodePageTest;

TEST_F(JapaneseUninstall, CaptionAndTextsInJapanese)
{
    ScopedRegistryValue pending(HKEY_LOCAL_MACHINE, kSessionManagerKey, L"PendingFileRenameOperations");
    PackageOptions options;
    options.title = L"カード印刷ツール";
    options.regLines = kRejectedRegLines;
    InstalledPackage package(options);
    ASSERT_EQ("", package.Failure());

    UninstallResult result =
        RunUninstallToTheEnd(RegisteredUninstallCommand(kInstallKey), L"カード印刷ツールの削除");
    ASSERT_EQ("", result.failure);
    EXPECT_EQ(L"カード印刷ツールを削除します。", result.confirmation.text);
    ASSERT_EQ(3u, result.boxes.size());
    EXPECT_EQ(L"Regセクションがおかしいです。", result.boxes[0].text);
    EXPECT_EQ(L"エラー", result.boxes[0].caption);
    EXPECT_EQ(L"カード印刷ツールは正常に削除されました。", result.status);
    ExpectPackageRemoved(package);
}
