// install.exe's wizard pages driven in the real program: the destination
// checks, the menu choices, a resident program, the copy rules of a run and
// a reinstall over an earlier installation.
#include <gtest/gtest.h>

#include <windows.h>
#include <prsht.h>
#include <shlobj.h>
#include <aclapi.h>

#include "expected_catalogue.h"
#include "install_wizard_driver.h"
#include "resource_ids.h"
#include "unix_links.h"
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

// The refusal of a shared folder names the folder as stored: full (on the
// program's current drive, that of the medium), with a trailing separator.
std::wstring SharedText(std::wstring typed)
{
    if (typed[0] == L'\\' && typed[1] != L'\\')
        typed = WindowsDirectory().substr(0, 2) + typed;
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW((typed.back() == L'\\' ? typed : typed + L"\\").c_str(), MAX_PATH, full, nullptr);
    return std::wstring(L"Unable to install in ") + full + L", because Windows or other software shares that folder.";
}

// Shared folders and the trees of Windows are refused, by whatever name they
// are reached: in any letter case, through "..", from the current drive's
// root, by short names or a second drive letter. So are names the system
// would not read as a folder path, and a folder too long to hold the
// program or the script copy beside it.
TEST_F(WizardPages, SharedFoldersAndFoldersTooLongForThePackageAreRefused)
{
    const std::wstring badPath = L"Assign a correct drive and path, e.g. C:\\Soft\\.";
    const std::wstring windows = WindowsDirectory();
    std::wstring lowerWindows = windows;
    CharLowerW(&lowerWindows[0]);
    const std::wstring profile = ShellFolder(CSIDL_PROFILE);
    std::wstring tooLong = target_ / std::wstring(250 - target_.Path().size(), L'L');
    wchar_t shortName[MAX_PATH] = {};
    GetShortPathNameW(ShellFolder(CSIDL_COMMON_APPDATA).c_str(), shortName, MAX_PATH);
    // Another user's profile, listed where Windows lists profiles.
    ScratchDir otherProfile(L"profile");
    ScopedRegistryValue listed(HKEY_LOCAL_MACHINE,
                               L"Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-0-0-0-2001",
                               L"ProfileImagePath");
    ASSERT_TRUE(listed.SetString(otherProfile.Path(), REG_EXPAND_SZ));
    ScopedDriveLetter drive(L'Q', windows.substr(0, 3));
    ASSERT_TRUE(drive.Ready());
    const struct {
        std::wstring folder;
        std::wstring text;  // "" for message 39 with the folder
    } cases[] = {
        {windows, L""},
        {lowerWindows + L"\\", L""},
        {windows.substr(2), L""},  // "\Windows" on the current drive
        {SystemDirectory() + L"\\..", L""},
        {SystemDirectory(), L""},
        {ShellFolder(CSIDL_PROGRAM_FILES), L""},
        {ShellFolder(CSIDL_PROGRAM_FILESX86), L""},
        {ShellFolder(CSIDL_PROGRAM_FILES_COMMON), L""},
        {ShellFolder(CSIDL_COMMON_APPDATA), L""},
        {profile, L""},
        {ParentOf(profile), L""},
        {profile + L"\\Temp\\..", L""},
        {ShellFolder(CSIDL_DESKTOPDIRECTORY), L""},
        {ShellFolder(CSIDL_PERSONAL), L""},
        {ShellFolder(CSIDL_STARTMENU), L""},
        {ShellFolder(CSIDL_COMMON_STARTMENU), L""},
        {target_ / L"Pages\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..", L"Unable to install in the route directory."},
        {tooLong, badPath},
        // Inside the Windows folder and ProgramData\Microsoft, the public
        // profile and any profile's root, and the same by other names.
        {windows + L"\\Card Printer", L""},
        {SystemDirectory() + L"\\Card\\Printer", L""},
        {ShellFolder(CSIDL_COMMON_APPDATA) + L"\\Microsoft\\Card", L""},
        {ParentOf(ShellFolder(CSIDL_COMMON_DOCUMENTS)), L""},
        {otherProfile.Path(), L""},
        {std::wstring(shortName) + L"\\Microsoft\\Card", L""},
        {drive.Root() + windows.substr(3) + L"\\Card Printer", L""},
        {drive.Root() + profile.substr(3), L""},
        {L"\\\\?\\" + target_.Path() + L"\\Device", badPath},
        {L"\\\\.\\" + target_.Path() + L"\\Device", badPath},
        {target_ / L"Tool:stream", badPath},
    };
    ASSERT_NE(shortName, ShellFolder(CSIDL_COMMON_APPDATA)) << "no short name to try";
    ASSERT_NO_FATAL_FAILURE(StartWizard());
    for (const auto& c : cases) {
        ASSERT_FALSE(c.folder.empty());
        MessageBoxSeen seen = NextWith(c.folder);
        EXPECT_EQ(c.text.empty() ? SharedText(c.folder) : c.text, seen.text) << Ansi(c.folder);
        EXPECT_TRUE(StillOnDestinationPage()) << Ansi(c.folder);
    }
    EXPECT_FALSE(DirectoryExists(tooLong));
    EXPECT_FALSE(DirectoryExists(target_ / L"Device"));
    CancelWizard();
}

// A folder that is a folder link, or lies below one, may lead anywhere its
// maker chose: refused before anything is created there.
TEST_F(WizardPages, FoldersThroughALinkAreRefused)
{
    const std::wstring outside = target_ / L"outside";
    const std::wstring link = target_ / L"linked";
    ASSERT_TRUE(CreateDirectories(outside));
    ASSERT_TRUE(MakeUnixLink(link, outside));
    ASSERT_NO_FATAL_FAILURE(StartWizard());
    for (const std::wstring& folder : {link, link + L"\\App", link + L"\\New\\App"}) {
        MessageBoxSeen seen = NextWith(folder);
        EXPECT_EQ(L"Unable to install in " + folder + L"\\, because it leads through a link to another folder.",
                  seen.text);
        EXPECT_TRUE(StillOnDestinationPage()) << Ansi(folder);
    }
    EXPECT_FALSE(DirectoryExists(outside + L"\\New"));
    CancelWizard();
    EXPECT_TRUE(RemoveUnixLink(link));
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

// The access that a folder's ACEs read back give to sid.
ACCESS_MASK AccessOf(const std::wstring& folder, WELL_KNOWN_SID_TYPE type)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return ~ACCESS_MASK(0);
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    ACCESS_MASK access = 0;
    if (CreateWellKnownSid(type, nullptr, sid, &size)) {
        for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
            ACCESS_ALLOWED_ACE* ace = nullptr;
            if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
                EqualSid(&ace->SidStart, sid))
                access |= ace->Mask;
        }
    }
    LocalFree(descriptor);
    return access;
}

// A new install folder outside Program Files is not left to what its parent
// passes on (users may change what the drive root holds): read back, it
// grants SYSTEM full control and nobody else more than reading. (Wine keeps
// a file's DACL only as far as Unix permissions tell it, and no protection
// flag; ProtectedFolderSecurity's own test checks the descriptor whole.)
TEST_F(WizardPages, NewFolderOutsideProgramFilesIsProtected)
{
    WizardChoices choices;
    choices.destination = target_ / L"Protected";
    ASSERT_TRUE(Install(choices).completed);
    const std::wstring folder = target_ / L"Protected";
    EXPECT_EQ(ACCESS_MASK(FILE_ALL_ACCESS), AccessOf(folder, WinLocalSystemSid) & FILE_ALL_ACCESS);
    EXPECT_EQ(0u, AccessOf(folder, WinWorldSid));
    EXPECT_EQ(0u, AccessOf(folder, WinBuiltinUsersSid) & ~(FILE_GENERIC_READ | FILE_GENERIC_EXECUTE));
    EXPECT_EQ(0u, AccessOf(folder, WinAuthenticatedUserSid) & ~(FILE_GENERIC_READ | FILE_GENERIC_EXECUTE));
}

// The uninstall entry records whether the install folder was there before
// (files that nobody listed may then be the user's); a reinstall into the
// registered folder keeps the first install's record.
TEST_F(WizardPages, EntryRecordsWhetherTheFolderWasThere)
{
    ASSERT_TRUE(medium_.Write(L"install.INF", Script("CopyAll=1\r\n1=app.exe\r\n")));
    ASSERT_TRUE(CreateDirectories(target_ / L"Existing"));
    const struct {
        const wchar_t* folder;  // nullptr: the registered one again, which exists by then
        DWORD recorded;
    } cases[] = {{L"Fresh", 0}, {nullptr, 0}, {L"Existing", 1}};
    for (const auto& c : cases) {
        const std::string name = c.folder ? Ansi(c.folder) : "again";
        WizardChoices choices;
        if (c.folder)
            choices.destination = target_ / c.folder;
        ASSERT_TRUE(Install(choices).completed) << name;
        EXPECT_EQ(c.recorded, RegistryNumber(HKEY_LOCAL_MACHINE, UninstallEntryKey(kInstallKey), L"FolderExisted"))
            << name;
    }
}

// "Open" starts a file of the install tree by its full path, a name without
// an extension with the program extensions: never the medium's file of that
// name, which the shell would find first (beside install.exe), nor one the
// install did not bring (message 42 instead).
TEST_F(WizardPages, OpenStartsOnlyAFileOfTheInstallTree)
{
    ASSERT_TRUE(CopyFileW(OPEN_PROBE_EXE, (medium_ / L"Setup.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(OPEN_PROBE_EXE, (medium_ / L"Tool.exe").c_str(), FALSE));
    const struct {
        const char* open;
        const wchar_t* folder;
        bool started;  // the installed Setup.exe; otherwise nothing
    } cases[] = {{"Setup.exe", L"Named", true}, {"Setup", L"Bare", true}, {"Tool", L"Tool", false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(medium_.Write(L"install.INF", Script("1=Setup.exe\r\nOpen=" + std::string(c.open) + "\r\n")));
        const std::wstring installed = target_ / c.folder;
        RunningProgram program;
        ASSERT_TRUE(medium_.Start(&program));
        WizardChoices choices;
        choices.destination = installed;
        choices.startMenu = false;
        ASSERT_TRUE(WalkInstallWizard(program, choices, kWaitMs).completed) << c.open;
        MessageBoxSeen box;
        const bool reported = AnswerNextMessageBox(program.Id(), IDOK, c.started ? 3000 : kWaitMs, &box);
        EXPECT_EQ(!c.started, reported) << c.open;
        if (!c.started)
            EXPECT_EQ(std::wstring(L"Tool is not a file of the installation, so it was skipped."), box.text);
        DWORD code = 0;
        EXPECT_TRUE(program.WaitForExit(kWaitMs, &code));
        if (c.started) {
            for (DWORD start = GetTickCount(); !FileExists(installed + L"\\ran.txt") && GetTickCount() - start < kWaitMs;)
                Sleep(100);
        } else {
            Sleep(2000);
        }
        EXPECT_EQ(c.started, FileExists(installed + L"\\ran.txt")) << c.open;
        EXPECT_FALSE(FileExists(medium_ / L"ran.txt")) << c.open;
    }
}

// The menu options page keeps its group in the start menu.
TEST_F(WizardPages, GroupOutsideTheStartMenuIsRefused)
{
    ASSERT_NO_FATAL_FAILURE(StartWizard());
    SetControlText(page_, DestinationPageMark, target_ / L"Menu");
    PressWizardButton(sheet_, PSBTN_NEXT);
    HWND menuPage = WaitForWizardPage(sheet_, MenuOptionsPageMark, kWaitMs);
    ASSERT_NE(nullptr, menuPage);
    SetControlText(menuPage, IDC_GROUP_FOLDER, L"Programs\\..\\..\\Elsewhere");
    PressWizardButton(sheet_, PSBTN_NEXT);
    MessageBoxSeen seen;
    ASSERT_TRUE(AnswerNextMessageBox(program_.Id(), IDOK, kWaitMs, &seen));
    EXPECT_EQ(L"The menu folder Programs\\..\\..\\Elsewhere lies outside the Start Menu.  Choose another one.",
              seen.text);
    EXPECT_EQ(menuPage, CurrentWizardPage(sheet_));
    CancelWizard();
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
