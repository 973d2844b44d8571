// install.exe's wizard pages driven in the real program: the destination
// checks, the menu choices, a resident program, the copy rules of a run and
// a reinstall over an earlier installation.
#include <gtest/gtest.h>

#include <windows.h>
#include <prsht.h>
#include <shlobj.h>

#include "expected_catalogue.h"
#include "install_wizard_driver.h"
#include "resource_ids.h"
#include "wizard_e2e_fixture.h"

using namespace installer_testing;
using namespace testing_support;
using namespace wizard_testing;

namespace {

const wchar_t kInstallKey[] = L"WizardPagesTest";

std::string Script(const std::string& lines)
{
    return "[Install]\r\nTitle=Wizard Pages Tool\r\nFolder=Wizard Tests\\Pages\r\nInstallKey=WizardPagesTest\r\n"
           "Menu=Pages Group\r\n" +
           lines;
}

// A file that exists for one test.
class ScopedFile {
public:
    ScopedFile(const std::wstring& path, const std::string& bytes) : path_(path) { WriteFileBytes(path, bytes); }
    ~ScopedFile() { DeleteFileW(path_.c_str()); }

private:
    std::wstring path_;
};

class WizardPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shell_.Ready());
        ASSERT_TRUE(medium_.Ready());
        ASSERT_TRUE(medium_.Write(L"app.exe", "application"));
        ASSERT_TRUE(medium_.Write(L"install.INF", Script("1=app.exe\r\n[Group]\r\n1=App,app.exe\r\n"
                                                         "2=Remove,install.exe,/r\r\n")));
    }

    // Starts install.exe and waits for its destination page.
    void StartWizard()
    {
        ASSERT_TRUE(medium_.Start(&program_));
        sheet_ = WaitForWizard(program_.Id(), kWaitMs);
        ASSERT_NE(nullptr, sheet_);
        page_ = WaitForWizardPage(sheet_, DestinationPageMark, kWaitMs);
        ASSERT_NE(nullptr, page_);
    }

    // Types folder and presses <Next>; returns the message box that came (or
    // an empty one) after answering it with button.
    MessageBoxSeen NextWith(const std::wstring& folder, int button = IDOK)
    {
        MessageBoxSeen seen;
        SetControlText(page_, DestinationPageMark, folder);
        PressWizardButton(sheet_, PSBTN_NEXT);
        EXPECT_TRUE(AnswerNextMessageBox(program_.Id(), button, kWaitMs, &seen)) << "no box for " << Ansi(folder);
        return seen;
    }

    bool StillOnDestinationPage() { return CurrentWizardPage(sheet_) == page_; }

    // Cancels the wizard and expects message 36.
    void CancelWizard()
    {
        PressWizardButton(sheet_, PSBTN_CANCEL);
        MessageBoxSeen seen;
        EXPECT_TRUE(AnswerNextMessageBox(program_.Id(), IDOK, kWaitMs, &seen));
        EXPECT_EQ(L"Installation was interrupted.", seen.text);
        DWORD code = 0;
        EXPECT_TRUE(program_.WaitForExit(kWaitMs, &code));
        EXPECT_EQ(1u, code);
    }

    WizardWalk Install(const WizardChoices& choices)
    {
        RunningProgram program;
        EXPECT_TRUE(medium_.Start(&program));
        WizardWalk walk = WalkInstallWizard(program, choices, kWaitMs);
        DWORD code = 0;
        EXPECT_TRUE(program.WaitForExit(kWaitMs, &code));
        return walk;
    }

    static std::string Ansi(const std::wstring& text) { return ToCodePage(text, CP_ACP); }

    ScopedShellFolders shell_;
    Medium medium_;
    ScratchDir target_{L"pages"};
    ScopedUninstallEntry entry_{kInstallKey};
    RunningProgram program_;
    HWND sheet_ = nullptr;
    HWND page_ = nullptr;
};

TEST_F(WizardPages, DestinationWithoutDriveOrBelowNoRootIsRefused)
{
    ASSERT_NO_FATAL_FAILURE(StartWizard());
    const struct {
        const wchar_t* folder;
        const wchar_t* text;
    } cases[] = {
        {L"", L"Unable to install in the route directory."},
        {L"C:", L"Assign a correct drive and path, e.g. C:\\Soft\\."},
        {L"Soft", L"Assign a correct drive and path, e.g. C:\\Soft\\."},
        {L"C:\\", L"Unable to install in the route directory."},
        {L"C:/", L"Unable to install in the route directory."},
        {L"\\\\server\\share", L"Unable to install in the route directory."},
        {L"\\\\server\\share\\", L"Unable to install in the route directory."},
    };
    for (const auto& c : cases) {
        MessageBoxSeen seen = NextWith(c.folder);
        EXPECT_EQ(c.text, seen.text) << Ansi(c.folder);
        EXPECT_EQ(L"Error", seen.caption);
        EXPECT_TRUE(StillOnDestinationPage()) << Ansi(c.folder);
    }
    CancelWizard();
}

std::wstring ShellFolder(int id)
{
    wchar_t folder[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, folder)) ? folder : L"";
}

std::wstring ParentOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\'));
}

// The shared folders themselves (in any letter case, reached through "..",
// or typed from the current drive's root) are refused like a root; so is a
// folder too long to hold the program or the script copy beside it.
TEST_F(WizardPages, SharedFoldersAndFoldersTooLongForThePackageAreRefused)
{
    const std::wstring root = L"Unable to install in the route directory.";
    const std::wstring windows = WindowsDirectory();
    std::wstring lowerWindows = windows;
    CharLowerW(&lowerWindows[0]);
    const std::wstring profile = ShellFolder(CSIDL_PROFILE);
    std::wstring tooLong = target_ / std::wstring(250 - target_.Path().size(), L'L');
    const struct {
        std::wstring folder;
        std::wstring text;
    } cases[] = {
        {windows, root},
        {lowerWindows + L"\\", root},
        {windows.substr(2), root},  // "\Windows" on the current drive
        {SystemDirectory() + L"\\..", root},
        {SystemDirectory(), root},
        {ShellFolder(CSIDL_SYSTEMX86), root},
        {ShellFolder(CSIDL_PROGRAM_FILES), root},
        {ShellFolder(CSIDL_PROGRAM_FILESX86), root},
        {ShellFolder(CSIDL_PROGRAM_FILES_COMMON), root},
        {ShellFolder(CSIDL_COMMON_APPDATA), root},
        {profile, root},
        {ParentOf(profile), root},
        {profile + L"\\Temp\\..", root},
        {ShellFolder(CSIDL_DESKTOPDIRECTORY), root},
        {ShellFolder(CSIDL_PERSONAL), root},
        {ShellFolder(CSIDL_STARTMENU), root},
        {ShellFolder(CSIDL_COMMON_STARTMENU), root},
        {target_ / L"Pages\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..", root},
        {tooLong, L"Assign a correct drive and path, e.g. C:\\Soft\\."},
    };
    ASSERT_NO_FATAL_FAILURE(StartWizard());
    for (const auto& c : cases) {
        ASSERT_FALSE(c.folder.empty());
        MessageBoxSeen seen = NextWith(c.folder);
        EXPECT_EQ(c.text, seen.text) << Ansi(c.folder);
        EXPECT_TRUE(StillOnDestinationPage()) << Ansi(c.folder);
    }
    EXPECT_FALSE(DirectoryExists(tooLong));
    CancelWizard();
}

// Below a shared folder a package may go; a folder on the current drive's
// root is stored with its drive.
TEST_F(WizardPages, FoldersBelowSharedOnesAndOnTheCurrentDriveAreStoredInFull)
{
    ASSERT_NO_FATAL_FAILURE(StartWizard());
    const std::wstring below = target_ / L"Below";
    const std::wstring cases[] = {below.substr(2), ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Wizard Pages Below"};
    for (const std::wstring& folder : cases) {
        SetControlText(page_, DestinationPageMark, folder);
        PressWizardButton(sheet_, PSBTN_NEXT);
        ASSERT_NE(nullptr, WaitForWizardPage(sheet_, MenuOptionsPageMark, kWaitMs)) << Ansi(folder);
        PressWizardButton(sheet_, PSBTN_BACK);
        ASSERT_EQ(page_, WaitForWizardPage(sheet_, DestinationPageMark, kWaitMs));
        std::wstring full = folder.size() > 1 && folder[1] == L':' ? folder : below.substr(0, 2) + folder;
        for (DWORD start = GetTickCount(); ControlText(page_, DestinationPageMark) == folder && GetTickCount() - start < kWaitMs;)
            Sleep(20);
        EXPECT_EQ(full + L"\\", ControlText(page_, DestinationPageMark));
    }
    CancelWizard();
}

TEST_F(WizardPages, LevelBlockedByAFileIsNamed)
{
    ASSERT_TRUE(WriteFileBytes(target_ / L"taken", "a file"));
    ASSERT_NO_FATAL_FAILURE(StartWizard());
    MessageBoxSeen seen = NextWith(target_ / L"taken\\inner");
    EXPECT_EQ(L"Unable to create a folder, " + (target_ / L"taken") + L", because it already exists.", seen.text);
    EXPECT_TRUE(StillOnDestinationPage());
    CancelWizard();
}

TEST_F(WizardPages, SlashesAreAcceptedAndTheTestFolderRemovedAgain)
{
    ASSERT_NO_FATAL_FAILURE(StartWizard());
    std::wstring typed = target_ / L"A/B";
    for (wchar_t& c : typed)
        c = c == L'\\' ? L'/' : c;
    SetControlText(page_, DestinationPageMark, typed);
    PressWizardButton(sheet_, PSBTN_NEXT);
    HWND menuPage = WaitForWizardPage(sheet_, MenuOptionsPageMark, kWaitMs);
    ASSERT_NE(nullptr, menuPage);
    EXPECT_TRUE(DirectoryExists(target_ / L"A")) << "intermediate levels stay";
    EXPECT_FALSE(DirectoryExists(target_ / L"A\\B")) << "the deepest level is removed again";

    // Back on the first page the field shows the folder as it was stored.
    PressWizardButton(sheet_, PSBTN_BACK);
    ASSERT_EQ(page_, WaitForWizardPage(sheet_, DestinationPageMark, kWaitMs));
    for (DWORD start = GetTickCount(); ControlText(page_, DestinationPageMark) == typed && GetTickCount() - start < kWaitMs;)
        Sleep(20);
    EXPECT_EQ(target_ / L"A\\B\\", ControlText(page_, DestinationPageMark));
    CancelWizard();
}

// Drive S: is a one-megabyte file system that the test run mounts where it
// may (small_drive.sh); filled to below a megabyte it has 0 MB free.
TEST_F(WizardPages, LowFreeSpaceAsksAndNoStays)
{
    ULARGE_INTEGER available = {}, total = {};
    if (!GetDiskFreeSpaceExW(L"S:\\", &available, &total, nullptr) || total.QuadPart > (100ull << 20))
        GTEST_SKIP() << "no small drive S: in this test run";
    ScopedFile filler(L"S:\\filler", std::string(size_t(available.QuadPart > (600u << 10) ? 600u << 10 : 0), 'f'));
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"S:\\", &available, nullptr, nullptr));
    ASSERT_LT(available.QuadPart, 1ull << 20);

    ASSERT_NO_FATAL_FAILURE(StartWizard());
    MessageBoxSeen seen = NextWith(L"S:\\Low Space", IDNO);
    EXPECT_EQ(L"Free space of the assigned drive is 0 MB.  Do you continue the installation?", seen.text);
    EXPECT_EQ(L"Wizard Pages Tool", seen.caption);
    EXPECT_TRUE(StillOnDestinationPage());
    EXPECT_FALSE(DirectoryExists(L"S:\\Low Space")) << "the test folder is removed again";

    NextWith(L"S:\\Low Space", IDYES);
    EXPECT_NE(nullptr, WaitForWizardPage(sheet_, MenuOptionsPageMark, kWaitMs));
    CancelWizard();
}

TEST_F(WizardPages, MenuChoicesDecideTheShortcutsAndTheGroup)
{
    WizardChoices choices;
    choices.destination = target_ / L"Tool";
    choices.startMenu = false;
    choices.desktopIcon = true;
    choices.group = L"Programs\\Other Group";
    WizardWalk walk = Install(choices);
    ASSERT_TRUE(walk.completed);
    EXPECT_EQ(L"Programs\\Pages Group", walk.defaultGroup);
    EXPECT_FALSE(DirectoryExists(shell_.Programs() + L"\\Other Group"));
    EXPECT_FALSE(DirectoryExists(shell_.Programs() + L"\\Pages Group"));
    EXPECT_TRUE(FileExists(shell_.Desktop() + L"\\Wizard Pages Tool.lnk"));
    EXPECT_EQ(L"Use [Programs and Features] in [Control Panel] for the uninstallation.", walk.hintText)
        << "no uninstall shortcut: the template text stays";
    EXPECT_EQ(shell_.StartMenu() + L"\\Programs\\Other Group",
              RegistryText(HKEY_LOCAL_MACHINE, UninstallEntryKey(kInstallKey), L"MenuDir"));
    EXPECT_EQ("application", ReadFileBytes(target_ / L"Tool\\app.exe"));
}

TEST_F(WizardPages, ResidentProgramSkipsTheMenuPageAndStartsWithWindows)
{
    ASSERT_TRUE(medium_.Write(L"install.INF", Script("TSR=1\r\n1=app.exe\r\n[Group]\r\n1=App,app.exe\r\n")));
    WizardChoices choices;
    choices.destination = target_ / L"Resident";
    choices.resident = true;
    WizardWalk walk = Install(choices);
    ASSERT_TRUE(walk.completed);
    EXPECT_TRUE(FileExists(shell_.Startup() + L"\\Wizard Pages Tool.lnk"));
    EXPECT_FALSE(DirectoryExists(shell_.Programs() + L"\\Pages Group"));
    EXPECT_FALSE(FileExists(shell_.Desktop() + L"\\Wizard Pages Tool.lnk"));
}

// A walk that expects a page the wizard does not show stops there and names
// the step as text, without a test failure of its own, so that the medium
// run can tell it.
TEST_F(WizardPages, WalkNamesTheStepThatDidNotCome)
{
    ASSERT_NO_FATAL_FAILURE(StartWizard());
    WizardChoices choices;
    choices.destination = target_ / L"Walk";
    choices.resident = true;  // the script is not resident: the menu page comes instead
    WizardWalk walk = DriveInstallWizard(program_, choices, 3000);
    EXPECT_FALSE(HasFailure());
    EXPECT_EQ("no progress page", walk.failure);
    EXPECT_FALSE(walk.completed);
    EXPECT_NE(nullptr, WaitForWizardPage(sheet_, MenuOptionsPageMark, kWaitMs));
    CancelWizard();
}

TEST_F(WizardPages, CopyAllCopiesTheWholeMedium)
{
    ASSERT_TRUE(medium_.Write(L"install.INF", Script("CopyAll=1\r\n1=app.exe\r\n")));
    ASSERT_TRUE(medium_.Write(L"data\\deep\\table.bin", "table"));
    WizardChoices choices;
    choices.destination = target_ / L"All";
    ASSERT_TRUE(Install(choices).completed);
    EXPECT_EQ("table", ReadFileBytes(target_ / L"All\\data\\deep\\table.bin"));
    EXPECT_EQ(ReadFileBytes(medium_ / L"install.INF"), ReadFileBytes(target_ / L"All\\install.INF"));
}

TEST_F(WizardPages, ReinstallGoesIntoTheRegisteredFolderAndKeepsNewerFiles)
{
    ASSERT_TRUE(medium_.Write(L"install.INF", Script("1=app.exe\r\n2=notes.txt\r\n[Group]\r\n1=App,app.exe\r\n"
                                                     "2=Remove,install.exe,/r\r\n")));
    ASSERT_TRUE(medium_.Write(L"notes.txt", "notes 1"));
    WizardChoices first;
    first.destination = target_ / L"First";
    WizardWalk walk = Install(first);
    ASSERT_TRUE(walk.completed);
    EXPECT_EQ(L"Use <Remove> in the menu for the uninstallation.", walk.hintText);

    // The user changed app.exe after the install (newer: kept); the medium
    // brings newer notes (replaced). The entry's group was moved meanwhile.
    std::wstring installed = target_ / L"First";
    FILETIME now = FileWriteTime(medium_ / L"app.exe");
    ASSERT_TRUE(WriteFileBytes(installed + L"\\app.exe", "changed by the user"));
    ASSERT_TRUE(SetFileWriteTime(installed + L"\\app.exe", ShiftTime(now, 3600)));
    ASSERT_TRUE(medium_.Write(L"notes.txt", "notes 2"));
    ASSERT_TRUE(SetFileWriteTime(medium_ / L"notes.txt", ShiftTime(now, 7200)));
    ScopedRegistryValue menuDir(HKEY_LOCAL_MACHINE, UninstallEntryKey(kInstallKey), L"MenuDir");
    ASSERT_TRUE(menuDir.SetString(L"C:\\elsewhere\\Moved Group"));

    WizardWalk again = Install(WizardChoices());
    ASSERT_TRUE(again.completed);
    EXPECT_EQ(installed + L"\\", again.defaultDestination);
    EXPECT_EQ(L"Moved Group", again.defaultGroup) << "a registered group outside the start menu";
    EXPECT_EQ("changed by the user", ReadFileBytes(installed + L"\\app.exe"));
    EXPECT_EQ("notes 2", ReadFileBytes(installed + L"\\notes.txt"));
    std::wstring key = UninstallEntryKey(kInstallKey);
    EXPECT_EQ(shell_.StartMenu() + L"\\Moved Group", RegistryText(HKEY_LOCAL_MACHINE, key, L"MenuDir"));
    EXPECT_EQ(L"\"" + installed + L"\\install.exe\" /r", RegistryText(HKEY_LOCAL_MACHINE, key, L"UninstallString"));
    EXPECT_TRUE(FileExists(shell_.StartMenu() + L"\\Moved Group\\Remove.lnk"));
}

// "Open" names a file of the install folder: when the medium holds a file of
// the same name, which the system would start first (beside install.exe),
// the installed one is opened all the same.
TEST_F(WizardPages, OpenTakesTheInstalledFileBeforeTheMediumsOne)
{
    ASSERT_TRUE(CopyFileW(OPEN_PROBE_EXE, (medium_ / L"probe.exe").c_str(), FALSE));
    ASSERT_TRUE(medium_.Write(L"install.INF", Script("1=probe.exe\r\nOpen=probe.exe\r\n")));
    WizardChoices choices;
    choices.destination = target_ / L"Opened";
    choices.startMenu = false;
    ASSERT_TRUE(Install(choices).completed);
    const std::wstring installedRun = target_ / L"Opened\\ran.txt";
    for (DWORD start = GetTickCount(); !FileExists(installedRun) && GetTickCount() - start < kWaitMs;)
        Sleep(100);
    EXPECT_TRUE(FileExists(installedRun));
    EXPECT_FALSE(FileExists(medium_ / L"ran.txt"));
}

// Started again from the install folder, install.exe offers that folder and
// copies every file onto itself: that is a success without a message.
TEST_F(WizardPages, ReinstallFromTheInstallFolderOntoItself)
{
    WizardChoices first;
    first.destination = target_ / L"Self";
    ASSERT_TRUE(Install(first).completed);
    const std::wstring installed = target_ / L"Self";
    const std::string program = ReadFileBytes(installed + L"\\install.exe");

    RunningProgram again;
    ASSERT_TRUE(again.Start(L"\"" + installed + L"\\install.exe\"", installed));
    WizardWalk walk = WalkInstallWizard(again, WizardChoices(), kWaitMs);
    DWORD code = 0;
    EXPECT_TRUE(again.WaitForExit(kWaitMs, &code));
    ASSERT_TRUE(walk.completed);
    EXPECT_EQ(installed + L"\\", walk.defaultDestination);
    EXPECT_TRUE(walk.runBoxes.empty()) << Ansi(walk.runBoxes.empty() ? L"" : walk.runBoxes[0].text);
    EXPECT_EQ(program, ReadFileBytes(installed + L"\\install.exe"));
    EXPECT_EQ("application", ReadFileBytes(installed + L"\\app.exe"));
    EXPECT_EQ(L"\"" + installed + L"\\install.exe\" /r",
              RegistryText(HKEY_LOCAL_MACHINE, UninstallEntryKey(kInstallKey), L"UninstallString"));
}

// The frame reads message 8 on every page, also after <Back>, in the
// language of the run (INSTALL_TEST_LANGUAGE; English without it).
class WizardCaption : public WizardPages {
protected:
    // Waits for the page, then for the caption, which the frame sets when
    // the page changes.
    std::wstring CaptionOn(WizardPageMark mark)
    {
        EXPECT_NE(nullptr, WaitForWizardPage(sheet_, mark, kWaitMs)) << "page " << mark;
        for (DWORD start = GetTickCount(); WindowText(sheet_) != expected_ && GetTickCount() - start < 2000;)
            Sleep(20);
        return WindowText(sheet_);
    }

    std::wstring expected_;
};

TEST_F(WizardCaption, EveryPageShowsTheInstallationCaption)
{
    Language language = English;
    LanguageOfThisRun(&language);
    expected_ = FormatWith(ExpectedText(IDS_INSTALL_CAPTION, language), L"Wizard Pages Tool");
    ASSERT_NO_FATAL_FAILURE(StartWizard());
    EXPECT_EQ(expected_, CaptionOn(DestinationPageMark)) << "destination page";
    SetControlText(page_, DestinationPageMark, target_ / L"Caption");
    PressWizardButton(sheet_, PSBTN_NEXT);
    EXPECT_EQ(expected_, CaptionOn(MenuOptionsPageMark)) << "menu options page";
    PressWizardButton(sheet_, PSBTN_BACK);
    EXPECT_EQ(expected_, CaptionOn(DestinationPageMark)) << "after <Back>";
    PressWizardButton(sheet_, PSBTN_NEXT);
    ASSERT_NE(nullptr, WaitForWizardPage(sheet_, MenuOptionsPageMark, kWaitMs));
    PressWizardButton(sheet_, PSBTN_NEXT);
    EXPECT_EQ(expected_, CaptionOn(ProgressPageMark)) << "install run";
    HWND progress = WaitForWizardPage(sheet_, ProgressPageMark, kWaitMs);
    for (DWORD start = GetTickCount(); !IsControlVisible(progress, 1010) && GetTickCount() - start < kWaitMs;)
        Sleep(50);
    EXPECT_EQ(expected_, WindowText(sheet_)) << "completion";
    for (DWORD start = GetTickCount(); !IsControlEnabled(sheet_, 0x3025) && GetTickCount() - start < kWaitMs;)
        Sleep(20);
    PressWizardButton(sheet_, PSBTN_FINISH);
    EXPECT_TRUE(AnswerNextMessageBox(program_.Id(), IDOK, kWaitMs, nullptr));
}

}  // namespace
