// What the uninstall leaves and says when files stay: files nobody listed in
// the install folder, and files held open by another program.
#include <gtest/gtest.h>

#include "installed_package.h"
#include "uninstall_checks.h"
#include "removal_fixture.h"

using namespace testing_support;
using namespace uninstall_testing;
using installer_testing::HeldOpen;

namespace {

const wchar_t kTitle[] = L"Uninstall Test Tool";

std::wstring LeftoverQuestion(const std::wstring& path)
{
    return L"Do you uninstall " + path + L"?";
}

std::wstring NotRemovedText(const std::wstring& path)
{
    return L"Failed in uninstalling " + path + L".  Continue the process without uninstalling the file.";
}

std::wstring FilesLeftText(const InstalledPackage& package)
{
    return L"Some file in " + package.InstallDir() + L"\\.  Uninstall them later.";
}

class UninstallOutcome : public ::testing::Test {
protected:
    ScopedPendingDeletions pending_;

    UninstallResult Run(const InstalledPackage& package, const std::vector<int>& answers = {})
    {
        return RunUninstallToTheEnd(RegisteredUninstallCommand(kInstallKey), UninstallCaption(package.Title()),
                                    answers);
    }
};

// A user's file and a help index in a subfolder.
void AddLeftovers(const InstalledPackage& package)
{
    ASSERT_TRUE(WriteFileBytes(package.InInstallDir(L"data\\notes.txt"), "mine"));
    ASSERT_TRUE(WriteFileBytes(package.InInstallDir(L"data\\TOOL.GID"), "help index"));
}

}  // namespace

TEST_F(UninstallOutcome, LeftoverAnsweredYesIsDeleted)
{
    InstalledPackage package;
    ASSERT_EQ("", package.Failure());
    AddLeftovers(package);

    UninstallResult result = Run(package, {IDYES});
    ASSERT_EQ("", result.failure);
    ASSERT_EQ(1u, result.boxes.size()) << "only the user's file is asked for";
    EXPECT_EQ(LeftoverQuestion(package.InInstallDir(L"data\\notes.txt")), result.boxes[0].text);
    EXPECT_EQ(kTitle, result.boxes[0].caption);
    EXPECT_EQ(L"Uninstall Test Tool has been successfully uninstalled.", result.status);
    EXPECT_FALSE(DirectoryExists(package.InstallDir()));
    EXPECT_FALSE(UninstallEntryExists(kInstallKey));
}

TEST_F(UninstallOutcome, CancelStopsTheFolderButNotTheRun)
{
    InstalledPackage package;
    ASSERT_EQ("", package.Failure());
    AddLeftovers(package);

    UninstallResult result = Run(package, {IDCANCEL});
    ASSERT_EQ("", result.failure);
    ASSERT_EQ(1u, result.boxes.size());
    EXPECT_EQ(LeftoverQuestion(package.InInstallDir(L"data\\notes.txt")), result.boxes[0].text);
    EXPECT_EQ(FilesLeftText(package), result.status);
    EXPECT_TRUE(FileExists(package.InInstallDir(L"data\\notes.txt")));
    EXPECT_FALSE(FileExists(package.InInstallDir(L"Tool.exe")));
    EXPECT_FALSE(UninstallEntryExists(kInstallKey)) << "the run goes on after Cancel";
    EXPECT_FALSE(FileExists(package.DesktopLink()));
    EXPECT_FALSE(FileExists(package.StartupLink()));
}

TEST_F(UninstallOutcome, RemoveNoneKeepsLeftoversWithoutAsking)
{
    for (const char* lines : {"RemoveNone=1\r\n", "RemoveNone=1\r\nCopyAll=1\r\n"}) {
        PackageOptions options;
        options.installLines = lines;
        InstalledPackage package(options);
        ASSERT_EQ("", package.Failure());
        AddLeftovers(package);

        UninstallResult result = Run(package);
        ASSERT_EQ("", result.failure) << lines;
        EXPECT_TRUE(result.boxes.empty()) << "no question and no folder message: " << lines;
        EXPECT_EQ(FilesLeftText(package), result.status);
        EXPECT_TRUE(FileExists(package.InInstallDir(L"data\\notes.txt"))) << lines;
        EXPECT_FALSE(FileExists(package.InInstallDir(L"data\\TOOL.GID"))) << "help indexes always go";
        EXPECT_FALSE(UninstallEntryExists(kInstallKey));
    }
}

TEST_F(UninstallOutcome, CopyAllDeletesLeftoversWithoutAsking)
{
    PackageOptions options;
    options.installLines = "CopyAll=1\r\n";
    InstalledPackage package(options);
    ASSERT_EQ("", package.Failure());
    AddLeftovers(package);

    UninstallResult result = Run(package);
    ASSERT_EQ("", result.failure);
    EXPECT_TRUE(result.boxes.empty());
    EXPECT_EQ(L"Uninstall Test Tool has been successfully uninstalled.", result.status);
    EXPECT_FALSE(DirectoryExists(package.InstallDir()));
}

TEST_F(UninstallOutcome, LockedMainProgramStopsTheRun)
{
    InstalledPackage package;
    ASSERT_EQ("", package.Failure());
    const std::wstring program = package.InInstallDir(L"Tool.exe");
    HeldOpen lock(program);
    ASSERT_TRUE(lock.IsHeld());

    UninstallResult result = Run(package);
    ASSERT_EQ("", result.failure);
    ASSERT_EQ(2u, result.boxes.size());
    EXPECT_EQ(NotRemovedText(program), result.boxes[0].text);
    EXPECT_EQ(L"Failed in uninstalling " + program +
                  L".  Try again the uninstallation, after closing Uninstall Test Tool.",
              result.boxes[1].text);
    EXPECT_EQ(L"Error", result.boxes[1].caption);
    EXPECT_EQ(FilesLeftText(package), result.status);

    // Entries after the program went; the rest stays for another try.
    EXPECT_FALSE(FileExists(package.InInstallDir(L"Readme.txt")));
    EXPECT_TRUE(FileExists(package.InInstallDir(L"install.exe")));
    EXPECT_TRUE(FileExists(package.InInstallDir(L"install.INF")));
    EXPECT_TRUE(DirectoryExists(package.MenuDir()));
    EXPECT_TRUE(FileExists(package.DesktopLink()));
    EXPECT_TRUE(UninstallEntryExists(kInstallKey));
    EXPECT_FALSE(FileExists(package.Marker()));
}

TEST_F(UninstallOutcome, LockedOtherFileIsReportedAndTheRunGoesOn)
{
    InstalledPackage package;
    ASSERT_EQ("", package.Failure());
    const std::wstring readme = package.InInstallDir(L"Readme.txt");
    HeldOpen lock(readme);
    ASSERT_TRUE(lock.IsHeld());

    // The folder removal meets the file again as a leftover: Yes fails once more.
    UninstallResult result = Run(package, {IDOK, IDYES});
    ASSERT_EQ("", result.failure);
    ASSERT_EQ(3u, result.boxes.size());
    EXPECT_EQ(NotRemovedText(readme), result.boxes[0].text);
    EXPECT_EQ(LeftoverQuestion(readme), result.boxes[1].text);
    EXPECT_EQ(NotRemovedText(readme), result.boxes[2].text);
    EXPECT_EQ(FilesLeftText(package), result.status);
    EXPECT_TRUE(FileExists(readme));
    EXPECT_FALSE(FileExists(package.InInstallDir(L"Tool.exe")));
    EXPECT_FALSE(UninstallEntryExists(kInstallKey));
    EXPECT_FALSE(DirectoryExists(package.MenuDir()));
}

TEST(UninstallCopy, RelativeInstalledProgramIsRefused)
{
    // A relative path would make the current directory the install folder.
    ScratchDir dir(L"relative");
    ASSERT_TRUE(CopyFileW(INSTALL_EXE, (dir / L"install.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteFileBytes(dir / L"install.INF", "[Install]\r\nTitle=Relative Tool\r\nFolder=Relative\r\n"
                                                    "InstallKey=UninstallTestRelative\r\nCopyAll=1\r\n1=keep.txt\r\n"));
    ASSERT_TRUE(WriteFileBytes(dir / L"keep.txt", "stays"));
    RunningProgram copy;
    ASSERT_TRUE(copy.Start(L"\"" + (dir / L"install.exe") + L"\" x .\\install.exe", dir.Path()));
    HWND box = WaitForDialog(copy.Id(), 20000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(L"Failed in executing the uninstallation program.  Uninstall unnecessary files manually.",
              MessageBoxText(box));
    ClickButton(box, IDOK);
    DWORD exitCode = 0;
    EXPECT_TRUE(copy.WaitForExit(20000, &exitCode));
    EXPECT_EQ(1u, exitCode);
    EXPECT_TRUE(FileExists(dir / L"keep.txt"));
    EXPECT_TRUE(FileExists(dir / L"install.INF"));
}
