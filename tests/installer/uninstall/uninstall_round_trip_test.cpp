// The whole uninstall of an installed package, started as the system's list
// of installed programs starts it: the registered command, and Wine's own
// uninstaller. Afterwards nothing of the package may be left but its shared
// system file and the copy in the system directory, whose deletion waits for
// the next restart.
#include <gtest/gtest.h>

#include "code_page_fixture.h"
#include "installed_package.h"
#include "uninstall_checks.h"

using namespace testing_support;
using namespace uninstall_testing;

namespace {

const wchar_t kAbnormalReg[] = L"Found abnormal Reg section.";

// [Reg] entries that must delete nothing: a lower-case root, an unsupported
// root, a root alone, and an entry after the gap that ends the list.
const char kRejectedRegLines[] =
    "2=hkey_current_user\\Software\\Uninstall Test Kept\r\n"
    "3=HKEY_USERS\\.DEFAULT\\Software\\Uninstall Test Kept\r\n"
    "4=HKEY_CURRENT_USER\\\r\n"
    "6=HKEY_CURRENT_USER\\Software\\Uninstall Test Kept\r\n";

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

    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kPackageRegistryKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kComponentKey)) << "DllUnregisterServer did not run";
    EXPECT_FALSE(UninstallEntryExists(kInstallKey));

    EXPECT_FALSE(FileExists(package.Marker()));
    ExpectScheduledForDeletion(L"install.exe");
}

void ExpectRejectedRegEntriesKept()
{
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kKeptRegistryKey));
    EXPECT_TRUE(KeyExists(HKEY_USERS, std::wstring(L".DEFAULT\\") + kKeptRegistryKey));
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
    ScopedPendingDeletions pending_;
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

// The dialog is looked for by its status line, as the medium run finds it
// whatever language it speaks.
TEST_F(UninstallRoundTrip, WineUninstallerRunsTheRegisteredCommand)
{
    InstalledPackage package;
    ASSERT_EQ("", package.Failure());

    UninstallResult result = RunUninstallToTheEnd(std::wstring(L"uninstaller.exe --remove ") + kInstallKey, L"");
    ASSERT_EQ("", result.failure);
    EXPECT_EQ(UninstallCaption(package.Title()), result.dialogCaption);
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
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kPackageRegistryKey));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kComponentKey));
    EXPECT_TRUE(UninstallEntryExists(kInstallKey));
    EXPECT_FALSE(FileExists(package.Marker()));
}

// A program file named with a blank uninstalls like any other: the copy in
// the system directory is started by its quoted path, and a "Card.exe" there
// (here a copy of hostname.exe, which would just end) is never started.
TEST_F(UninstallRoundTrip, ProgramNameWithABlank)
{
    wchar_t systemDir[MAX_PATH] = {};
    GetSystemDirectoryW(systemDir, MAX_PATH);
    const std::wstring decoy = std::wstring(systemDir) + L"\\Card.exe";
    const std::wstring copy = std::wstring(systemDir) + L"\\Card Setup.exe";
    ASSERT_FALSE(FileExists(decoy));
    ASSERT_TRUE(CopyFileW((std::wstring(systemDir) + L"\\hostname.exe").c_str(), decoy.c_str(), TRUE));
    ScratchDir root(L"card");
    const std::wstring folder = root / L"Card Setup";
    ASSERT_TRUE(CreateDirectories(folder));
    ASSERT_TRUE(CopyFileW(INSTALL_EXE, (folder + L"\\Card Setup.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(folder + L"\\Card Setup.INF", "[Install]\r\nTitle=Card Setup Tool\r\nFolder=Card\r\n"
                                                             "InstallKey=UninstallTestCard\r\n1=Card.cfg\r\n"));
    ASSERT_TRUE(WriteFileBytes(folder + L"\\Card.cfg", "settings"));
    installer_testing::ScopedUninstallEntry entry(L"UninstallTestCard");
    ASSERT_TRUE(entry.Set(L"DisplayName", L"Card Setup Tool"));
    ASSERT_TRUE(entry.Set(L"UninstallString", L"\"" + folder + L"\\Card Setup.exe\" /r"));

    UninstallResult result =
        RunUninstallToTheEnd(RegisteredUninstallCommand(L"UninstallTestCard"), UninstallCaption(L"Card Setup Tool"));
    DeleteFileW(decoy.c_str());
    ASSERT_EQ("", result.failure);
    EXPECT_EQ(L"Card Setup Tool has been successfully uninstalled.", result.status);
    EXPECT_FALSE(DirectoryExists(folder));
    EXPECT_FALSE(UninstallEntryExists(L"UninstallTestCard"));
    ExpectScheduledForDeletion(L"Card Setup.exe");
    DeleteFileW(copy.c_str());
}

// Runs only in the registration made with LC_ALL=ja_JP.UTF-8.
using JapaneseUninstall = JapaneseCodePageTest;

TEST_F(JapaneseUninstall, CaptionAndTextsInJapanese)
{
    ScopedPendingDeletions pending;
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
