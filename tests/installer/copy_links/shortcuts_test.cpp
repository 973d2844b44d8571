// Shortcuts made from [Group] entries and the title shortcut, read back
// through the shell-link object, and their removal.
#include <objbase.h>

#include <memory>

#include <gtest/gtest.h>

#include "box_answerer.h"
#include "code_page_fixture.h"
#include "copy_links_fixture.h"
#include "globals.h"
#include "install_script.h"
#include "registry_fixture.h"
#include "settings_fixture.h"
#include "shell_link_reader.h"
#include "shortcuts.h"
#include "test_files.h"

using copy_links_testing::InstallGlobals;
using copy_links_testing::LinkContents;
using copy_links_testing::ReadShellLink;
using installer_testing::Ansi;
using installer_testing::kShellFoldersKey;
using installer_testing::ScopedRegistryValue;
using installer_testing::ScriptFile;
using testing_support::CreateDirectories;
using testing_support::DirectoryExists;
using testing_support::FileExists;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

namespace {

// An install folder with tool.exe, readme.txt and data\; a start menu whose
// group folder is Programs\Vendor\Tool\; desktop, Startup and Personal
// folders of the user and of all users, all in scratch folders. Wine's shell
// rewrites the "Shell Folders" values from "User Shell Folders" whenever it
// resolves one, so both keys name the scratch folders.
class ShellFolder {
public:
    ShellFolder(HKEY root, const wchar_t* name) : shown_(root, kShellFoldersKey, name), user_(root, kUserShellFoldersKey, name)
    {
    }
    // "User Shell Folders" first: a shell that looks the folder up in
    // between (explorer.exe, told of a new shortcut) copies the new value.
    bool Set(const std::wstring& folder)
    {
        return user_.SetString(folder, REG_EXPAND_SZ) && shown_.SetString(folder);
    }
    ScopedRegistryValue& Shown() { return shown_; }

private:
    static const wchar_t kUserShellFoldersKey[];
    ScopedRegistryValue shown_;
    ScopedRegistryValue user_;
};

const wchar_t ShellFolder::kUserShellFoldersKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

class Shortcuts : public InstallGlobals {
protected:
    void SetUp() override
    {
        InstallGlobals::SetUp();
        CoInitialize(nullptr);
        ASSERT_TRUE(WriteFileBytes(install_ / L"tool.exe", "MZ"));
        ASSERT_TRUE(WriteFileBytes(install_ / L"readme.txt", "read me"));
        ASSERT_TRUE(CreateDirectoryW((install_ / L"data").c_str(), nullptr));
        lstrcpynA(g_installDir, InstallDir().c_str(), kPathSize);
        ASSERT_TRUE(CreateDirectories(Programs()));
        lstrcpynA(g_menuDir, Ansi(Group() + L"\\").c_str(), kPathSize);
        for (const wchar_t* name : {L"desktop", L"startup", L"personal", L"alldesktop", L"allstartup"})
            ASSERT_TRUE(CreateDirectoryW((folders_ / name).c_str(), nullptr));
        ASSERT_TRUE(desktop_.Set(folders_ / L"desktop"));
        ASSERT_TRUE(startup_.Set(folders_ / L"startup"));
        ASSERT_TRUE(personal_.Set(folders_ / L"personal"));
        ASSERT_TRUE(commonDesktop_.Set(folders_ / L"alldesktop"));
        ASSERT_TRUE(commonStartup_.Set(folders_ / L"allstartup"));
        ASSERT_TRUE(startMenu_.Set(menu_.Path()));
        ASSERT_TRUE(programs_.Set(Programs()));
    }
    void TearDown() override { CoUninitialize(); }

    void UseScript(const std::string& groupLines, const std::string& installLines = "1=tool.exe\r\n")
    {
        script_.reset(new ScriptFile("[Install]\r\nTitle=Tool Suite\r\nFolder=Tool\r\n" + installLines +
                                     "[Group]\r\n" + groupLines));
        g_groupCount = CountScriptEntries(kGroupSection);
    }

    std::string InstallDir() const { return Ansi(install_.Path()) + "\\"; }
    std::string Installed(const char* name) const { return InstallDir() + name; }
    std::wstring Programs() const { return menu_ / L"Programs"; }
    std::wstring Group() const { return menu_ / L"Programs\\Vendor\\Tool"; }
    std::string Folder(const wchar_t* name) const { return Ansi(folders_ / name); }

    LinkContents Link(const std::wstring& path)
    {
        LinkContents contents;
        EXPECT_TRUE(ReadShellLink(path, &contents)) << Ansi(path);
        return contents;
    }
    LinkContents GroupLink(const wchar_t* name) { return Link(Group() + L"\\" + name + L".lnk"); }

    ScratchDir install_{L"inst"};
    ScratchDir menu_{L"menu"};
    ScratchDir folders_{L"shell"};
    std::unique_ptr<ScriptFile> script_;
    ShellFolder desktop_{HKEY_CURRENT_USER, L"Desktop"};
    ShellFolder startup_{HKEY_CURRENT_USER, L"Startup"};
    ShellFolder personal_{HKEY_CURRENT_USER, L"Personal"};
    ShellFolder commonDesktop_{HKEY_LOCAL_MACHINE, L"Common Desktop"};
    ShellFolder commonStartup_{HKEY_LOCAL_MACHINE, L"Common Startup"};
    ShellFolder startMenu_{HKEY_CURRENT_USER, L"Start Menu"};
    ShellFolder programs_{HKEY_CURRENT_USER, L"Programs"};
};

TEST_F(Shortcuts, GroupItemsCarryTargetArgumentsIconAndDescription)
{
    UseScript("1=Tool,tool.exe?1\r\n"
              "2=Res,tool.exe?0=res\\tool.ico\r\n"
              "3=Data,tool.exe?data?0=C:\\icons\\a.ico,-x\r\n"
              "4=Args,tool.exe ? 2 ,  -a  -b\r\n");
    testing_support::BoxAnswerer boxes;
    ProcessShortcuts(LocationProgramMenu, false);
    EXPECT_EQ(0u, boxes.Count());
    ASSERT_TRUE(DirectoryExists(Group()));

    LinkContents tool = GroupLink(L"Tool");
    EXPECT_EQ(Installed("tool.exe"), tool.target);
    EXPECT_EQ("", tool.arguments);
    EXPECT_EQ(InstallDir(), tool.workingDir);
    EXPECT_EQ(Installed("tool.exe"), tool.iconFile);
    EXPECT_EQ(1, tool.iconIndex);
    EXPECT_EQ("Tool", tool.description);

    LinkContents res = GroupLink(L"Res");
    EXPECT_EQ(Installed("res\\tool.ico"), res.iconFile);
    EXPECT_EQ(0, res.iconIndex);

    LinkContents data = GroupLink(L"Data");
    EXPECT_EQ(Installed("tool.exe"), data.target);
    EXPECT_EQ(Installed("data"), data.workingDir);
    EXPECT_EQ("C:\\icons\\a.ico", data.iconFile);
    EXPECT_EQ(0, data.iconIndex);
    EXPECT_EQ("-x", data.arguments);

    LinkContents args = GroupLink(L"Args");
    EXPECT_EQ(Installed("tool.exe"), args.target);
    EXPECT_EQ(2, args.iconIndex);
    EXPECT_EQ("-a  -b", args.arguments);
}

// An icon file after "=" takes in the segments behind it, and the walk still
// goes over them: the last working-directory segment counts.
TEST_F(Shortcuts, SegmentsAfterAnIconFileAreStillWalked)
{
    UseScript("1=Late,tool.exe?0=res\\tool.ico?data\r\n"
              "2=Again,tool.exe?0=res\\tool.ico? 3\r\n");
    ProcessShortcuts(LocationProgramMenu, false);

    LinkContents late = GroupLink(L"Late");
    EXPECT_EQ(Installed("res\\tool.ico?data"), late.iconFile);
    EXPECT_EQ(0, late.iconIndex);
    EXPECT_EQ(Installed("data"), late.workingDir);

    LinkContents again = GroupLink(L"Again");
    EXPECT_EQ(Installed("tool.exe"), again.iconFile);
    EXPECT_EQ(3, again.iconIndex);
}

TEST_F(Shortcuts, MissingWorkingDirectoryFallsBackToTheInstallFolder)
{
    ASSERT_TRUE(RemoveDirectoryW((install_ / L"data").c_str()));
    UseScript("1=Data,tool.exe?data?0=C:\\icons\\a.ico,-x\r\n"
              "2=Gone,readme.txt?missing\r\n");
    ProcessShortcuts(LocationProgramMenu, false);
    EXPECT_EQ(InstallDir(), GroupLink(L"Data").workingDir);
    EXPECT_EQ("C:\\icons\\a.ico", GroupLink(L"Data").iconFile);
    EXPECT_EQ(InstallDir(), GroupLink(L"Gone").workingDir);
}

TEST_F(Shortcuts, WorkingDirectoryPrefixesAndPaths)
{
    ASSERT_TRUE(CreateDirectoryW((folders_ / L"desktop\\notes").c_str(), nullptr));
    ASSERT_EQ("C:", InstallDir().substr(0, 2));
    char windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    UseScript("1=Doc,readme.txt?d!\r\n"
              "2=Notes,readme.txt?d!notes\r\n"
              "3=Mine,readme.txt?m!\r\n"
              "4=Win,readme.txt?w!\r\n"
              "5=Abs,readme.txt?C:\\windows\r\n"
              "6=Drive,readme.txt?\\windows\r\n"
              "7=Last,readme.txt?missing?data\r\n"
              "8=Other,readme.txt?x!data\r\n"
              "9=Share,readme.txt?\\\\copy_links_share\r\n");
    // Two separators and a name, with no share: written over the install
    // folder's root, so it names C:\copy_links_share.
    ASSERT_TRUE(CreateDirectoryA("C:\\copy_links_share", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    // "\windows" names a folder on the current drive (the install run's is
    // the medium's).
    ASSERT_TRUE(SetCurrentDirectoryW(install_.Path().c_str()));
    ProcessShortcuts(LocationProgramMenu, false);
    SetCurrentDirectoryW(L"C:\\");
    EXPECT_EQ(Folder(L"desktop"), GroupLink(L"Doc").workingDir);
    EXPECT_EQ(Folder(L"desktop\\notes"), GroupLink(L"Notes").workingDir);
    EXPECT_EQ(Folder(L"personal"), GroupLink(L"Mine").workingDir);
    EXPECT_EQ(windows, GroupLink(L"Win").workingDir);
    EXPECT_EQ("C:\\windows", GroupLink(L"Abs").workingDir);
    EXPECT_EQ("C:\\windows", GroupLink(L"Drive").workingDir);
    EXPECT_EQ(Installed("data"), GroupLink(L"Last").workingDir);
    EXPECT_EQ(Installed("data"), GroupLink(L"Other").workingDir);
    EXPECT_EQ("C:\\copy_links_share", GroupLink(L"Share").workingDir);
    RemoveDirectoryA("C:\\copy_links_share");
    EXPECT_EQ(Installed("readme.txt"), GroupLink(L"Doc").target);

    // All-users installs take no per-user folders: the base is the install
    // folder (in its full form, without the trailing separator).
    g_commonMenu = true;
    ProcessShortcuts(LocationProgramMenu, false);
    std::string installFolder = Ansi(install_.Path());
    EXPECT_EQ(installFolder, GroupLink(L"Doc").workingDir);
    EXPECT_EQ(installFolder, GroupLink(L"Mine").workingDir);
    EXPECT_EQ(InstallDir(), GroupLink(L"Notes").workingDir);  // no inst\notes
    EXPECT_EQ(windows, GroupLink(L"Win").workingDir);
}

TEST_F(Shortcuts, UninstallItemIsTheProgramWithExactlySlashR)
{
    struct Case {
        const char* entry;
        const char* recorded;
    } cases[] = {
        {"Uninstall,install.exe,/r", "Uninstall"},
        {"Uninstall,INSTALL.EXE, /r ", "Uninstall"},
        {"Uninstall,install.exe,/R", ""},
        {"Uninstall,install.exe", ""},
        {"Uninstall,other.exe,/r", ""},
    };
    for (const Case& c : cases) {
        g_uninstallMenuName[0] = '\0';
        UseScript(std::string("1=Tool,tool.exe\r\n2=") + c.entry + "\r\n");
        ProcessShortcuts(LocationProgramMenu, false);
        EXPECT_STREQ(c.recorded, g_uninstallMenuName) << c.entry;
        EXPECT_TRUE(FileExists(Group() + L"\\Uninstall.lnk")) << c.entry;
    }
}

// Without [Group] the one link is the title shortcut to the first [Install]
// entry, in the menu folder: the programs folder itself, or the group folder
// "Menu" names, which is made for it and removed with it (never the programs
// folder above it, nor another link there).
TEST_F(Shortcuts, WithoutGroupOneTitleShortcutToTheFirstInstallEntry)
{
    ASSERT_TRUE(WriteFileBytes(Programs() + L"\\other.lnk", "keep"));
    UseScript("", "1=tool.exe,app\\tool.exe\r\n");
    ASSERT_EQ(0, g_groupCount);
    for (const std::wstring& menu : {Programs(), Group()}) {
        lstrcpynA(g_menuDir, Ansi(menu).c_str(), kPathSize);  // no trailing separator
        ProcessShortcuts(LocationProgramMenu, false);
        const LinkContents title = Link(menu + L"\\Tool Suite.lnk");
        EXPECT_EQ(Installed("app\\tool.exe"), title.target) << Ansi(menu);
        EXPECT_EQ("Tool Suite", title.description);
        EXPECT_EQ(InstallDir(), title.workingDir);

        ProcessShortcuts(LocationProgramMenu, true);
        EXPECT_FALSE(FileExists(menu + L"\\Tool Suite.lnk")) << Ansi(menu);
        EXPECT_FALSE(DirectoryExists(Programs() + L"\\Vendor")) << Ansi(menu);
        EXPECT_TRUE(FileExists(Programs() + L"\\other.lnk")) << Ansi(menu);
    }
}

// An install folder whose name holds a comma ("Acme, Inc") is no argument
// list: only the script's text after it is cut into target, arguments and
// segments, for the group's links and the title shortcut alike.
TEST_F(Shortcuts, CommaInTheInstallFolderIsPartOfEveryTarget)
{
    const std::wstring folder = install_ / L"Acme, Inc";
    ASSERT_TRUE(CreateDirectories(folder + L"\\data"));
    const std::string installDir = Ansi(folder) + "\\";
    lstrcpynA(g_installDir, installDir.c_str(), kPathSize);
    UseScript("1=Tool,tool.exe?data?1, -x\r\n", "1=tool.exe\r\n");
    testing_support::BoxAnswerer boxes;
    ProcessShortcuts(LocationProgramMenu, false);
    ProcessShortcuts(LocationDesktop, false);
    EXPECT_EQ(0u, boxes.Count());

    const LinkContents tool = GroupLink(L"Tool");
    EXPECT_EQ(installDir + "tool.exe", tool.target);
    EXPECT_EQ("-x", tool.arguments);
    EXPECT_EQ(installDir + "data", tool.workingDir);
    EXPECT_EQ(1, tool.iconIndex);
    const LinkContents title = Link(folders_ / L"desktop\\Tool Suite.lnk");
    EXPECT_EQ(installDir + "tool.exe", title.target);
    EXPECT_EQ("", title.arguments);
}

TEST_F(Shortcuts, DesktopAndStartupGetTheTitleShortcut)
{
    UseScript("1=Tool,tool.exe\r\n", "1=readme.txt\r\n");
    ProcessShortcuts(LocationDesktop, false);
    ProcessShortcuts(LocationStartup, false);
    const std::wstring onDesktop = folders_ / L"desktop\\Tool Suite.lnk";
    const std::wstring inStartup = folders_ / L"startup\\Tool Suite.lnk";
    EXPECT_EQ(Installed("readme.txt"), Link(onDesktop).target);
    EXPECT_EQ(Installed("readme.txt"), Link(inStartup).target);
    EXPECT_FALSE(FileExists(Group() + L"\\Tool.lnk"));

    testing_support::BoxAnswerer boxes;
    ProcessShortcuts(LocationDesktop, true);
    ProcessShortcuts(LocationStartup, true);
    EXPECT_FALSE(FileExists(onDesktop));
    EXPECT_FALSE(FileExists(inStartup));
    ProcessShortcuts(LocationDesktop, true);  // none left: nothing to say
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_TRUE(DirectoryExists(folders_ / L"desktop"));

    g_commonMenu = true;
    ProcessShortcuts(LocationDesktop, false);
    ProcessShortcuts(LocationStartup, false);
    EXPECT_TRUE(FileExists(folders_ / L"alldesktop\\Tool Suite.lnk"));
    EXPECT_TRUE(FileExists(folders_ / L"allstartup\\Tool Suite.lnk"));
    EXPECT_FALSE(FileExists(onDesktop));
}

TEST_F(Shortcuts, UnreadableShellFolderDoesNothing)
{
    UseScript("", "1=readme.txt\r\n");
    ASSERT_TRUE(desktop_.Shown().SetString(folders_ / L"desktop", REG_EXPAND_SZ));
    ASSERT_TRUE(startup_.Shown().Remove());
    ProcessShortcuts(LocationDesktop, false);
    ProcessShortcuts(LocationStartup, false);
    EXPECT_FALSE(FileExists(folders_ / L"desktop\\Tool Suite.lnk"));
    EXPECT_FALSE(FileExists(folders_ / L"startup\\Tool Suite.lnk"));
}

TEST_F(Shortcuts, RemovalTakesTheGroupAndTheParentsItLeavesEmpty)
{
    ASSERT_TRUE(WriteFileBytes(Programs() + L"\\other.lnk", "keep"));
    UseScript("1=Tool,tool.exe\r\n2=Read,readme.txt\r\n");
    ProcessShortcuts(LocationProgramMenu, false);
    ASSERT_TRUE(FileExists(Group() + L"\\Read.lnk"));
    ProcessShortcuts(LocationProgramMenu, true);
    EXPECT_FALSE(DirectoryExists(Programs() + L"\\Vendor"));
    EXPECT_TRUE(FileExists(Programs() + L"\\other.lnk"));

    // A file the script does not list keeps the group folder and its parents.
    ProcessShortcuts(LocationProgramMenu, false);
    ASSERT_TRUE(WriteFileBytes(Group() + L"\\notes.txt", "user's"));
    ProcessShortcuts(LocationProgramMenu, true);
    EXPECT_FALSE(FileExists(Group() + L"\\Tool.lnk"));
    EXPECT_FALSE(FileExists(Group() + L"\\Read.lnk"));
    EXPECT_TRUE(FileExists(Group() + L"\\notes.txt"));
}

// The removal of the group stays in the start menu: it never takes the
// programs folder or the start menu, emptied or not, nor touches a
// registered group that lies outside it.
TEST_F(Shortcuts, RemovalStaysBelowTheProgramsFolder)
{
    UseScript("1=Tool,tool.exe\r\n");
    ScratchDir outside(L"outside");
    const struct {
        std::wstring group;
        std::wstring kept;
    } cases[] = {{Group(), Programs()}, {outside / L"Tool", outside / L"Tool\\Tool.lnk"}};
    for (const auto& c : cases) {
        lstrcpynA(g_menuDir, Ansi(c.group + L"\\").c_str(), kPathSize);
        ASSERT_TRUE(CreateDirectories(c.group));
        ASSERT_TRUE(WriteFileBytes(c.group + L"\\Tool.lnk", "link"));
        ProcessShortcuts(LocationProgramMenu, true);
        EXPECT_TRUE(FileExists(c.kept) || DirectoryExists(c.kept)) << Ansi(c.kept);
        EXPECT_TRUE(DirectoryExists(menu_.Path()));
    }
}

TEST_F(Shortcuts, ItemWhoseLinkPathIsTooLongIsSkipped)
{
    std::string longName(250, 'n');
    UseScript("1=" + longName + ",tool.exe\r\n2=Tool,tool.exe\r\n");
    ProcessShortcuts(LocationProgramMenu, false);
    EXPECT_TRUE(FileExists(Group() + L"\\Tool.lnk"));
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((Group() + L"\\nnn*").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST_F(Shortcuts, GroupFolderBlockedByAFileIsReported)
{
    ASSERT_TRUE(WriteFileBytes(Programs() + L"\\Vendor", "a file"));
    UseScript("1=Tool,tool.exe\r\n");
    testing_support::BoxAnswerer boxes;
    ProcessShortcuts(LocationProgramMenu, false);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(L"Unable to create a folder, " + Programs() + L"\\Vendor, because it already exists.",
              boxes.Seen()[0].text);
}

// Under code page 932, ソ (0x83 0x5C) ends in a byte equal to the backslash:
// as a folder, shortcut or working-directory name it must stay whole.
class ShiftJisShortcuts : public Shortcuts {
protected:
    void SetUp() override
    {
        REQUIRE_JAPANESE_CODE_PAGE();
        Shortcuts::SetUp();
    }
};

TEST_F(ShiftJisShortcuts, TrailByteBackslashIsNoSeparator)
{
    const std::string so = "\x83\x5C";
    const std::wstring wideSo = installer_testing::Wide(so.c_str());
    lstrcpynA(g_menuDir, (Ansi(Programs()) + "\\Vendor\\" + so + "\\").c_str(), kPathSize);
    ASSERT_TRUE(CreateDirectoryA((InstallDir() + so).c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(Programs() + L"\\other.lnk", "keep"));
    UseScript("1=" + so + ",tool.exe?" + so + "?1\r\n");
    ProcessShortcuts(LocationProgramMenu, false);

    const std::wstring group = Programs() + L"\\Vendor\\" + wideSo;
    LinkContents link = Link(group + L"\\" + wideSo + L".lnk");
    EXPECT_EQ(Installed("tool.exe"), link.target);
    EXPECT_EQ(InstallDir() + so, link.workingDir);
    EXPECT_EQ(so, link.description);
    EXPECT_EQ(1, link.iconIndex);

    ProcessShortcuts(LocationProgramMenu, true);
    EXPECT_FALSE(DirectoryExists(group));
    EXPECT_FALSE(DirectoryExists(Programs() + L"\\Vendor"));
    EXPECT_TRUE(DirectoryExists(Programs()));
}

}  // namespace
