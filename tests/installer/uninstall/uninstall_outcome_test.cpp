// What the uninstall leaves and says when files stay: files nobody listed in
// the install folder, and files held open by another program.
#include <gtest/gtest.h>

#include <memory>

#include "install_wizard_driver.h"
#include "installed_package.h"
#include "removal_fixture.h"
#include "uninstall_checks.h"
#include "unix_links.h"

using namespace testing_support;
using namespace uninstall_testing;
using installer_testing::HeldOpen;

namespace {

const wchar_t kTitle[] = L"Uninstall Test Tool";
const wchar_t kSucceeded[] = L"Uninstall Test Tool has been successfully uninstalled.";

std::wstring LeftoverQuestion(const std::wstring& path)
{
    return L"Do you uninstall " + path + L"?";
}

std::wstring SystemDirectory()
{
    wchar_t dir[MAX_PATH] = {};
    GetSystemDirectoryW(dir, MAX_PATH);
    return dir;
}

std::wstring NotRemovedText(const std::wstring& path)
{
    return L"Failed in uninstalling " + path + L".  Continue the process without uninstalling the file.";
}

class UninstallOutcome : public ::testing::Test {
protected:
    // installLines go into the script's [Install] section. With leftovers,
    // a user's file and a help index lie in a subfolder of the install folder.
    void Install(const char* installLines = "", bool leftovers = false)
    {
        PackageOptions options;
        options.installLines = installLines;
        // The registry values of an earlier package are put back first.
        package_.reset();
        package_.reset(new InstalledPackage(options));
        ASSERT_EQ("", package_->Failure());
        if (leftovers) {
            ASSERT_TRUE(WriteFileBytes(UserFile(), "mine"));
            ASSERT_TRUE(WriteFileBytes(HelpIndex(), "help index"));
        }
    }

    // Holds a file of the package open, so that it cannot be deleted.
    void Lock(const std::wstring& name)
    {
        lock_.reset(new HeldOpen(package_->InInstallDir(name)));
        ASSERT_TRUE(lock_->IsHeld());
    }

    UninstallResult Uninstall(const std::vector<int>& answers = {})
    {
        UninstallResult result = RunUninstallToTheEnd(RegisteredUninstallCommand(kInstallKey),
                                                      UninstallCaption(kTitle), answers);
        EXPECT_EQ("", result.failure);
        return result;
    }

    const InstalledPackage& Package() const { return *package_; }
    std::wstring UserFile() const { return package_->InInstallDir(L"data\\notes.txt"); }
    std::wstring HelpIndex() const { return package_->InInstallDir(L"data\\TOOL.GID"); }
    std::wstring FilesLeftText() const
    {
        return L"Some file in " + package_->InstallDir() + L"\\.  Uninstall them later.";
    }

    ScopedPendingDeletions pending_;
    std::unique_ptr<InstalledPackage> package_;
    std::unique_ptr<HeldOpen> lock_;
};

}  // namespace

TEST_F(UninstallOutcome, LeftoverAnsweredYesIsDeleted)
{
    ASSERT_NO_FATAL_FAILURE(Install("", true));
    UninstallResult result = Uninstall({IDYES});
    ASSERT_EQ(1u, result.boxes.size()) << "only the user's file is asked for";
    EXPECT_EQ(LeftoverQuestion(UserFile()), result.boxes[0].text);
    EXPECT_EQ(kTitle, result.boxes[0].caption);
    EXPECT_EQ(kSucceeded, result.status);
    EXPECT_FALSE(DirectoryExists(Package().InstallDir()));
    EXPECT_FALSE(UninstallEntryExists(kInstallKey));
}

TEST_F(UninstallOutcome, CancelStopsTheFolderButNotTheRun)
{
    ASSERT_NO_FATAL_FAILURE(Install("", true));
    UninstallResult result = Uninstall({IDCANCEL});
    ASSERT_EQ(1u, result.boxes.size());
    EXPECT_EQ(LeftoverQuestion(UserFile()), result.boxes[0].text);
    EXPECT_EQ(FilesLeftText(), result.status);
    EXPECT_TRUE(FileExists(UserFile()));
    EXPECT_FALSE(FileExists(Package().InInstallDir(L"Tool.exe")));
    EXPECT_FALSE(UninstallEntryExists(kInstallKey)) << "the run goes on after Cancel";
    EXPECT_FALSE(FileExists(Package().DesktopLink()));
    EXPECT_FALSE(FileExists(Package().StartupLink()));
}

TEST_F(UninstallOutcome, RemoveNoneKeepsLeftoversWithoutAsking)
{
    // RemoveNone wins over CopyAll.
    for (const char* lines : {"RemoveNone=1\r\n", "RemoveNone=1\r\nCopyAll=1\r\n"}) {
        ASSERT_NO_FATAL_FAILURE(Install(lines, true));
        UninstallResult result = Uninstall();
        EXPECT_TRUE(result.boxes.empty()) << "no question and no folder message: " << lines;
        EXPECT_EQ(FilesLeftText(), result.status);
        EXPECT_TRUE(FileExists(UserFile())) << lines;
        EXPECT_FALSE(FileExists(HelpIndex())) << "help indexes always go";
        EXPECT_FALSE(UninstallEntryExists(kInstallKey));
    }
}

TEST_F(UninstallOutcome, CopyAllDeletesLeftoversWithoutAsking)
{
    ASSERT_NO_FATAL_FAILURE(Install("CopyAll=1\r\n", true));
    UninstallResult result = Uninstall();
    EXPECT_TRUE(result.boxes.empty());
    EXPECT_EQ(kSucceeded, result.status);
    EXPECT_FALSE(DirectoryExists(Package().InstallDir()));
}

// Into a folder that was there before the install, "CopyAll" does not make
// the files nobody listed the package's: they are asked for.
TEST_F(UninstallOutcome, CopyAllAsksInAFolderThatWasThereBefore)
{
    ASSERT_NO_FATAL_FAILURE(Install("CopyAll=1\r\n", true));
    installer_testing::ScopedRegistryValue existed(
        HKEY_LOCAL_MACHINE, std::wstring(installer_testing::kUninstallKey) + L"\\" + kInstallKey, L"FolderExisted");
    ASSERT_TRUE(existed.SetDword(1));
    UninstallResult result = Uninstall({IDNO});
    ASSERT_EQ(1u, result.boxes.size()) << "the help index still goes without a question";
    EXPECT_EQ(LeftoverQuestion(UserFile()), result.boxes[0].text);
    EXPECT_TRUE(FileExists(UserFile()));
    EXPECT_FALSE(FileExists(HelpIndex()));
    EXPECT_FALSE(UninstallEntryExists(kInstallKey));
}

// A same-named file in the system directory that the hand-over cannot
// replace (here one held open, a copy of hostname.exe) is never started.
TEST_F(UninstallOutcome, HandOverNeverStartsAFileItCouldNotReplace)
{
    ASSERT_NO_FATAL_FAILURE(Install());
    ASSERT_TRUE(CopyFileW((SystemDirectory() + L"\\hostname.exe").c_str(), Package().SystemCopy().c_str(), FALSE));
    HANDLE held = CreateFileW(Package().SystemCopy().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    RunningProgram program;
    ASSERT_TRUE(program.Start(RegisteredUninstallCommand(kInstallKey), L""));
    MessageBoxSeen confirmation, refusal;
    EXPECT_TRUE(AnswerNextMessageBox(program.Id(), IDOK, 30000, &confirmation));
    EXPECT_TRUE(AnswerNextMessageBox(program.Id(), IDOK, 30000, &refusal));
    EXPECT_EQ(L"Failed in executing the uninstallation program.  Uninstall unnecessary files manually.", refusal.text);
    DWORD exitCode = 0;
    EXPECT_TRUE(program.WaitForExit(30000, &exitCode));
    CloseHandle(held);
    EXPECT_TRUE(FileExists(Package().InInstallDir(L"Tool.exe")));
    EXPECT_TRUE(UninstallEntryExists(kInstallKey));
}

TEST_F(UninstallOutcome, LockedMainProgramStopsTheRun)
{
    ASSERT_NO_FATAL_FAILURE(Install());
    const std::wstring program = Package().InInstallDir(L"Tool.exe");
    ASSERT_NO_FATAL_FAILURE(Lock(L"Tool.exe"));
    UninstallResult result = Uninstall();
    ASSERT_EQ(2u, result.boxes.size());
    EXPECT_EQ(NotRemovedText(program), result.boxes[0].text);
    EXPECT_EQ(L"Failed in uninstalling " + program + L".  Try again the uninstallation, after closing " + kTitle + L".",
              result.boxes[1].text);
    EXPECT_EQ(L"Error", result.boxes[1].caption);
    EXPECT_EQ(FilesLeftText(), result.status);

    // Entries after the program went; the rest stays for another try.
    EXPECT_FALSE(FileExists(Package().InInstallDir(L"Readme.txt")));
    EXPECT_TRUE(FileExists(Package().InInstallDir(L"install.exe")));
    EXPECT_TRUE(FileExists(Package().InInstallDir(L"install.INF")));
    EXPECT_TRUE(DirectoryExists(Package().MenuDir()));
    EXPECT_TRUE(FileExists(Package().DesktopLink()));
    EXPECT_TRUE(UninstallEntryExists(kInstallKey));
    EXPECT_FALSE(FileExists(Package().Marker()));
}

TEST_F(UninstallOutcome, LockedOtherFileIsReportedAndTheRunGoesOn)
{
    ASSERT_NO_FATAL_FAILURE(Install());
    const std::wstring readme = Package().InInstallDir(L"Readme.txt");
    ASSERT_NO_FATAL_FAILURE(Lock(L"Readme.txt"));
    // The folder removal meets the file again as a leftover: Yes fails once more.
    UninstallResult result = Uninstall({IDOK, IDYES});
    ASSERT_EQ(3u, result.boxes.size());
    EXPECT_EQ(NotRemovedText(readme), result.boxes[0].text);
    EXPECT_EQ(LeftoverQuestion(readme), result.boxes[1].text);
    EXPECT_EQ(NotRemovedText(readme), result.boxes[2].text);
    EXPECT_EQ(FilesLeftText(), result.status);
    EXPECT_TRUE(FileExists(readme));
    EXPECT_FALSE(FileExists(Package().InInstallDir(L"Tool.exe")));
    EXPECT_FALSE(UninstallEntryExists(kInstallKey));
    EXPECT_FALSE(DirectoryExists(Package().MenuDir()));
}

// Started from a copy that is not the registered one (one in Downloads),
// "/r" removes the registered installation and nothing beside that copy.
TEST_F(UninstallOutcome, CopyElsewhereHandsOverTheRegisteredInstallation)
{
    ASSERT_NO_FATAL_FAILURE(Install());
    ScratchDir downloads(L"downloads");
    const wchar_t* files[] = {L"install.exe", L"install.INF", L"Tool.exe", L"Readme.txt"};
    for (const wchar_t* file : files)
        ASSERT_TRUE(CopyFileW(Package().InInstallDir(file).c_str(), (downloads / file).c_str(), FALSE));
    UninstallResult result =
        RunUninstallToTheEnd(L"\"" + (downloads / L"install.exe") + L"\" /r", UninstallCaption(kTitle));
    ASSERT_EQ("", result.failure);
    EXPECT_EQ(kSucceeded, result.status);
    EXPECT_FALSE(DirectoryExists(Package().InstallDir()));
    EXPECT_FALSE(UninstallEntryExists(kInstallKey));
    for (const wchar_t* file : files)
        EXPECT_TRUE(FileExists(downloads / file)) << ToCodePage(file, CP_UTF8);
}

// The copy refuses (message 34) an installed program's path that is
// relative, taken from the current drive's root, or whose folder is a root,
// also one reached through "..", or a folder link or below one: nothing
// there is removed, and the copy still deletes its marker and schedules its
// own deletion. Drive R: is a scratch folder, so that a removal of its root
// harms nothing.
TEST(UninstallCopy, PathsWithoutAFolderOfTheirOwnAreRefused)
{
    ScopedPendingDeletions pending;
    ScratchDir driveFolder(L"drive");
    ScopedDriveLetter drive(L'R', driveFolder.Path());
    ASSERT_TRUE(drive.Ready());
    const std::string script = "[Install]\r\nTitle=Refused Tool\r\nFolder=Refused\r\n"
                               "InstallKey=UninstallTestRefused\r\nCopyAll=1\r\n1=keep.txt\r\n";
    const std::wstring folders[] = {L"R:", L"R:\\Tools"};
    for (const std::wstring& folder : folders) {
        ASSERT_TRUE(CreateDirectories(folder + L"\\"));
        ASSERT_TRUE(WriteFileBytes(folder + L"\\install.INF", script));
        ASSERT_TRUE(WriteFileBytes(folder + L"\\keep.txt", "stays"));
    }
    const std::wstring copy = SystemDirectory() + L"\\refusetest.exe";
    const std::wstring marker = SystemDirectory() + L"\\UninstallTestRefused.tmp";
    ASSERT_TRUE(CopyFileW(INSTALL_EXE, copy.c_str(), FALSE));

    // Folder links to the install folder's files, or on the way to them.
    ASSERT_TRUE(MakeUnixLink(L"R:\\Linked", L"R:\\Tools"));
    ASSERT_TRUE(MakeUnixLink(L"R:\\Via", L"R:\\"));
    const struct {
        const wchar_t* arguments;
        const wchar_t* workingDir;
    } cases[] = {
        {L"x .\\install.exe", L"R:\\Tools"},
        {L"x \\Tools\\install.exe", L"R:\\"},
        {L"x R:\\Tools\\..\\install.exe", L""},
        {L"x R:\\install.exe", L""},
        {L"x R:\\Linked\\install.exe", L""},
        {L"x R:\\Via\\Tools\\install.exe", L""},
    };
    for (const auto& c : cases) {
        const std::string name = ToCodePage(c.arguments, CP_UTF8);
        ASSERT_TRUE(WriteFileBytes(marker, ""));
        RunningProgram program;
        ASSERT_TRUE(program.Start(L"\"" + copy + L"\" " + c.arguments, c.workingDir));
        MessageBoxSeen seen;
        ASSERT_TRUE(AnswerMessageBox(program.Id(), 30000, IDOK, &seen)) << name;
        EXPECT_EQ(L"Failed in executing the uninstallation program.  Uninstall unnecessary files manually.", seen.text)
            << name;
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(30000, &exitCode));
        EXPECT_EQ(1u, exitCode);
        for (const std::wstring& folder : folders)
            EXPECT_TRUE(FileExists(folder + L"\\keep.txt")) << name;
        EXPECT_FALSE(FileExists(marker)) << name;
        ExpectScheduledForDeletion(L"refusetest.exe");
    }
    EXPECT_TRUE(RemoveUnixLink(L"R:\\Linked"));
    EXPECT_TRUE(RemoveUnixLink(L"R:\\Via"));
    DeleteFileW(copy.c_str());
    DeleteFileW(marker.c_str());
}
