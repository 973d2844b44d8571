// LoadInstallSettings against the test prefix's registry, the entry
// resolvers and the command-line reduction.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "code_page_fixture.h"
#include "command_line.h"
#include "globals.h"
#include "install_entries.h"
#include "install_settings.h"
#include "registry_fixture.h"
#include "registry_key.h"
#include "settings_fixture.h"

using namespace installer_testing;

namespace {

std::string Script(const std::string& installLines, const std::string& more = "")
{
    return "[Install]\r\n" + installLines + more;
}

// The registry as these tests want it: program files on drive D:, a known
// start menu, and no accessories name unless a test sets one.
class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hInstance = GetModuleHandleW(nullptr);
        ASSERT_TRUE(programFiles_.SetString(L"D:\\Programs"));
        ASSERT_TRUE(startMenu_.SetString(L"C:\\Menu"));
        ASSERT_TRUE(programs_.SetString(L"C:\\Menu\\Programs"));
        ASSERT_TRUE(commonPrograms_.SetString(L"C:\\All\\Programs"));
        ASSERT_TRUE(accessories_.Remove());
    }

    // Loads settings from a script; fails the test when a message box came.
    void Load(const std::string& text)
    {
        script_.reset(new ScriptFile(text));
        CallOutcome outcome = RunAnsweringBox([] { return LoadInstallSettings(); });
        ASSERT_TRUE(outcome.returned);
        EXPECT_EQ(L"", outcome.boxText);
        EXPECT_TRUE(outcome.result);
    }

    // Loads settings that must be refused; returns the message box seen.
    CallOutcome Refuse(const std::string& text)
    {
        script_.reset(new ScriptFile(text));
        CallOutcome outcome = RunAnsweringBox([] { return LoadInstallSettings(); });
        EXPECT_TRUE(outcome.returned);
        EXPECT_FALSE(outcome.result);
        return outcome;
    }

    ScopedRegistryValue programFiles_{HKEY_LOCAL_MACHINE, kCurrentVersionKey, L"ProgramFilesDir"};
    ScopedRegistryValue accessories_{HKEY_LOCAL_MACHINE, kCurrentVersionKey, L"SM_AccessoriesName"};
    ScopedRegistryValue startMenu_{HKEY_CURRENT_USER, kShellFoldersKey, L"Start Menu"};
    ScopedRegistryValue programs_{HKEY_CURRENT_USER, kShellFoldersKey, L"Programs"};
    ScopedRegistryValue commonPrograms_{HKEY_LOCAL_MACHINE, kShellFoldersKey, L"Common Programs"};
    std::unique_ptr<ScriptFile> script_;
};

const wchar_t kDamaged[] = L"Damaged file, or NO Information file.";

}  // namespace

TEST_F(Settings, FolderBelowProgramFilesGivesKeyFromLastComponent)
{
    Load(Script("Title=Tool\r\nFolder=Vendor/App\r\n"));
    EXPECT_STREQ("D:\\Programs\\Vendor\\App\\", g_installDir);
    EXPECT_STREQ("App", g_installKey);
    EXPECT_STREQ("Tool", g_title);
}

TEST_F(Settings, FolderWithTrailingSeparatorStillNamesTheKey)
{
    Load(Script("Title=Tool\r\nFolder=Vendor\\App\\\r\n"));
    EXPECT_STREQ("App", g_installKey);
    EXPECT_STREQ("D:\\Programs\\Vendor\\App\\", g_installDir);
    EXPECT_EQ(kDamaged, Refuse(Script("Title=Tool\r\nFolder=\\/\r\n")).boxText);
}

TEST_F(Settings, InstallKeySeparatorsBecomeUnderscoresAndLongKeysAreCut)
{
    Load(Script("Title=Tool\r\nFolder=App\r\nInstallKey=A/B\\C\r\n"));
    EXPECT_STREQ("A_B_C", g_installKey);

    Load(Script("Title=Tool\r\nFolder=App\r\nInstallKey=" + std::string(240, 'k') + "\r\n"));
    EXPECT_EQ(207, lstrlenA(g_installKey)) << "the uninstall key path must fit into 259 characters";
}

TEST_F(Settings, FolderFromTheRootOfTheProgramFilesDrive)
{
    Load(Script("Title=Tool\r\nFolder=\\Apps\\Tool\r\n"));
    EXPECT_STREQ("D:\\Apps\\Tool\\", g_installDir);
    EXPECT_STREQ("Tool", g_installKey);
}

TEST_F(Settings, ProgramFilesDirThatIsNoPlainStringFallsBackToWindowsDrive)
{
    ASSERT_TRUE(programFiles_.SetString(L"E:\\Expand", REG_EXPAND_SZ));
    Load(Script("Title=Tool\r\nFolder=App\r\n"));
    EXPECT_STREQ("C:\\Program Files\\App\\", g_installDir);

    ASSERT_TRUE(programFiles_.Remove());
    Load(Script("Title=Tool\r\nFolder=/Top\r\n"));
    EXPECT_STREQ("C:\\Top\\", g_installDir);
}

TEST_F(Settings, FlagsAreOnOnlyForOne)
{
    Load(Script("Title=Tool\r\nFolder=App\r\nTSR=2\r\nRemoveNone=1\r\nCommonMenu=-1\r\nCopyAll=1 \r\n"));
    EXPECT_FALSE(g_resident);
    EXPECT_TRUE(g_removeNone);
    EXPECT_FALSE(g_commonMenu);
    EXPECT_TRUE(g_copyAll);
    Load(Script("Title=Tool\r\nFolder=App\r\nTSR=1\r\n"));
    EXPECT_TRUE(g_resident);
    EXPECT_FALSE(g_copyAll);
}

TEST_F(Settings, NumberedListsEndAtTheFirstGap)
{
    Load(Script("Title=Tool\r\nFolder=App\r\n1=a.txt\r\n3=c.txt\r\n",
                "[Group]\r\n1=One,a.txt\r\n2=Two,b.txt\r\n4=Four,d.txt\r\n"));
    EXPECT_EQ(1, g_installCount);
    EXPECT_EQ(2, g_groupCount);
    Load(Script("Title=Tool\r\nFolder=App\r\n2=b.txt\r\n"));
    EXPECT_EQ(0, g_installCount);
    EXPECT_EQ(0, g_groupCount);
}

TEST_F(Settings, MissingTitleFolderOrScriptIsADamagedScript)
{
    CallOutcome noTitle = Refuse(Script("Folder=App\r\n"));
    EXPECT_EQ(kDamaged, noTitle.boxText);
    EXPECT_EQ(L"Error", noTitle.boxCaption);
    EXPECT_EQ(kDamaged, Refuse(Script("Title=Tool\r\nFolder=\r\n")).boxText);

    testing_support::ScratchDir empty(L"noscript");
    lstrcpynA(g_scriptPath, Ansi(empty / L"install.INF").c_str(), kPathSize);
    CallOutcome missing = RunAnsweringBox([] { return LoadInstallSettings(); });
    EXPECT_FALSE(missing.result);
    EXPECT_EQ(kDamaged, missing.boxText);
}

TEST_F(Settings, MenuFolderForms)
{
    const std::string base = "Title=Tool\r\nFolder=App\r\n";
    Load(Script(base));
    EXPECT_STREQ("C:\\Menu\\Programs", g_menuDir);
    Load(Script(base, "[Group]\r\n1=One,a.txt\r\n"));
    EXPECT_STREQ("C:\\Menu\\Programs\\Tool", g_menuDir);
    Load(Script(base + "Menu=Vendor/Sub\r\n"));
    EXPECT_STREQ("C:\\Menu\\Programs\\Vendor\\Sub", g_menuDir);
    Load(Script(base + "Menu=\\Apps\\Tool\r\n"));
    EXPECT_STREQ("C:\\Menu\\\\Apps\\Tool", g_menuDir);
    Load(Script(base + "Menu=A!Tools\r\n"));
    EXPECT_STREQ("C:\\Menu\\Programs\\A!Tools", g_menuDir) << "only a lower-case a! names the accessories";
    Load(Script(base + "Menu=Other\r\nCommonMenu=1\r\n"));
    EXPECT_STREQ("C:\\All\\Programs\\Other", g_menuDir);

    ASSERT_TRUE(startMenu_.Remove());
    Load(Script(base + "Menu=\\Apps\\Tool\r\n"));
    EXPECT_STREQ("C:\\Menu\\Programs\\\\Apps\\Tool", g_menuDir) << "no start menu: below the programs folder";
}

// "Menu" stays in the folder its form starts from: a group that would
// leave it ("..") is the title's group there instead.
TEST_F(Settings, MenuThatLeavesItsFolderIsTheTitlesGroup)
{
    const std::string base = "Title=Tool\r\nFolder=App\r\n";
    const struct {
        const char* menu;
        const char* folder;
    } cases[] = {
        {"..\\..\\Windows", "C:\\Menu\\Programs\\Tool"},
        {"Vendor\\..\\..", "C:\\Menu\\Programs\\Tool"},
        {"a!..\\..\\..", "C:\\Menu\\Programs\\Tool"},
        {"\\..\\Outside", "C:\\Menu\\Tool"},
    };
    for (const auto& c : cases) {
        Load(Script(base + "Menu=" + c.menu + "\r\n"));
        EXPECT_STREQ(c.folder, g_menuDir) << c.menu;
    }
}

TEST_F(Settings, AccessoriesNameFromTheRegistryOnlyWhenUsable)
{
    const std::string script = Script("Title=Tool\r\nFolder=App\r\nMenu=a!Tools\r\n");
    Load(script);
    EXPECT_STREQ("C:\\Menu\\Programs\\Accessories\\Tools", g_menuDir);

    ASSERT_TRUE(accessories_.SetString(L"Zubehör"));
    Load(script);
    EXPECT_EQ(L"C:\\Menu\\Programs\\Zubehör\\Tools", Wide(g_menuDir));

    ASSERT_TRUE(accessories_.SetString(std::wstring(49, L'z')));
    Load(script);
    EXPECT_EQ("C:\\Menu\\Programs\\" + std::string(49, 'z') + "\\Tools", g_menuDir);

    ASSERT_TRUE(accessories_.SetString(std::wstring(50, L'z')));
    Load(script);
    EXPECT_STREQ("C:\\Menu\\Programs\\Accessories\\Tools", g_menuDir);

    ASSERT_TRUE(accessories_.SetDword(7));
    Load(script);
    EXPECT_STREQ("C:\\Menu\\Programs\\Accessories\\Tools", g_menuDir);
}

TEST_F(Settings, ExistingEntryOfTheSamePackageMovesFolderAndMenu)
{
    ScopedUninstallEntry entry(L"ShellTestApp");
    ASSERT_TRUE(entry.Set(L"DisplayName", L"Shell Test Tool"));
    ASSERT_TRUE(entry.Set(L"UninstallString", L"\"E:\\Old Place\\install.exe\" /r"));
    ASSERT_TRUE(entry.Set(L"MenuDir", L"C:\\Old Menu"));
    Load(Script("Title=Shell Test Tool\r\nFolder=Vendor\\ShellTestApp\r\n"));
    EXPECT_STREQ("E:\\Old Place\\", g_installDir);
    EXPECT_STREQ("C:\\Old Menu", g_menuDir);
}

TEST_F(Settings, UnusableUninstallStringKeepsTheComputedFolder)
{
    ScopedUninstallEntry entry(L"ShellTestApp");
    ASSERT_TRUE(entry.Set(L"DisplayName", L"Shell Test Tool"));
    ASSERT_TRUE(entry.Set(L"UninstallString", L"E:\\Expanded\\install.exe /r", REG_EXPAND_SZ));
    Load(Script("Title=Shell Test Tool\r\nFolder=ShellTestApp\r\n"));
    EXPECT_STREQ("D:\\Programs\\ShellTestApp\\", g_installDir);

    ASSERT_TRUE(entry.Set(L"UninstallString", L"install.exe /r"));
    Load(Script("Title=Shell Test Tool\r\nFolder=ShellTestApp\r\n"));
    EXPECT_STREQ("D:\\Programs\\ShellTestApp\\", g_installDir);
}

TEST_F(Settings, UninstallKeyOfAnotherPackageIsRefused)
{
    ScopedUninstallEntry entry(L"ShellTestApp");
    ASSERT_TRUE(entry.Set(L"DisplayName", L"Somebody Else"));
    CallOutcome outcome = Refuse(Script("Title=Shell Test Tool\r\nFolder=ShellTestApp\r\n"));
    EXPECT_EQ(L"The uninstall entry already used by 'Somebody Else'. Please uninstall it.", outcome.boxText);
    EXPECT_EQ(L"Error", outcome.boxCaption);

    // A display name that is no plain string counts as absent.
    ASSERT_TRUE(entry.Set(L"DisplayName", L"Somebody Else", REG_EXPAND_SZ));
    Load(Script("Title=Shell Test Tool\r\nFolder=ShellTestApp\r\n"));
}

TEST_F(Settings, SameTitleUnderAnotherKeyIsRefused)
{
    ScopedUninstallEntry other(L"ShellTestOther");
    ASSERT_TRUE(other.Set(L"DisplayName", L"Shell Test Tool"));
    CallOutcome outcome = Refuse(Script("Title=Shell Test Tool\r\nFolder=ShellTestApp\r\n"));
    EXPECT_EQ(L"The uninstall entry already used by 'Shell Test Tool'. Please uninstall it.", outcome.boxText);

    Load(Script("Title=shell test tool\r\nFolder=ShellTestApp\r\n"));
}

std::wstring SampleScript(const wchar_t* name)
{
    return std::wstring(SAMPLE_PACKAGE_DIR) + L"\\" + name;
}

bool LoadSampleScript(const wchar_t* name)
{
    lstrcpynA(g_scriptPath, Ansi(SampleScript(name)).c_str(), kPathSize);
    lstrcpynA(g_programName, "install.exe", kFileNameSize);
    CallOutcome outcome = RunAnsweringBox([] { return LoadInstallSettings(); });
    EXPECT_EQ(L"", outcome.boxText) << name;
    return outcome.result;
}

TEST_F(Settings, SamplePackageScriptsListTheSameFilesUnderOneEntry)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    for (const wchar_t* name : {L"installE.INF", L"installJ.INF", L"installC.INF"}) {
        ASSERT_TRUE(LoadSampleScript(name)) << name;
        EXPECT_EQ(18, g_installCount) << name;
        EXPECT_EQ(3, g_groupCount) << name;
        EXPECT_STREQ("SampleCardPrinter", g_installKey);
        EXPECT_TRUE(ResolveInstallEntry(17));
        EXPECT_EQ(std::string(windows) + "\\SampleCardPrinter.cfg", g_entryTarget);
        EXPECT_FALSE(ResolveInstallEntry(18)) << "the shared runtime stays in the system directory";
        ResolveGroupEntry(3);
        EXPECT_EQ(std::string(g_installDir) + "install.exe,/r", g_entryTarget);
    }
    ASSERT_TRUE(LoadSampleScript(L"installE.INF"));
    EXPECT_STREQ("Sample Card Printer Software", g_title);
    EXPECT_STREQ("D:\\Programs\\Sample Card Printer\\Driver Setup\\", g_installDir);
    EXPECT_STREQ("C:\\Menu\\Programs\\Sample Card Printer", g_menuDir);

    // After an install in one language, each language's script finds that
    // install's uninstall entry as its own and goes into its folder.
    ScopedUninstallEntry entry(L"SampleCardPrinter");
    ASSERT_TRUE(entry.Set(L"DisplayName", L"Sample Card Printer Software"));
    ASSERT_TRUE(entry.Set(L"UninstallString", L"\"E:\\Card\\install.exe\" /r"));
    for (const wchar_t* name : {L"installE.INF", L"installJ.INF", L"installC.INF"}) {
        ASSERT_TRUE(LoadSampleScript(name)) << name;
        EXPECT_STREQ("E:\\Card\\", g_installDir) << name;
    }
}

// The Japanese sample script read under code page 932.
class JapaneseSettings : public Settings {
protected:
    void SetUp() override
    {
        REQUIRE_JAPANESE_CODE_PAGE();
        Settings::SetUp();
    }
};

TEST_F(JapaneseSettings, SampleScriptKeepsDoubleByteNamesWhole)
{
    ASSERT_TRUE(LoadSampleScript(L"installJ.INF"));
    EXPECT_EQ(L"Sample Card Printer Software", Wide(g_title));
    EXPECT_EQ(L"D:\\Programs\\Sample Card Printer\\ソフト\\", Wide(g_installDir));
    EXPECT_EQ(L"C:\\Menu\\Programs\\サンプル カードプリンタ", Wide(g_menuDir));
    ResolveGroupEntry(1);
    EXPECT_EQ(L"カードツール", Wide(g_entryName));
}

// The entry resolvers work on the globals that the settings load leaves.
class Entries : public ::testing::Test {
protected:
    void SetUp() override
    {
        lstrcpynA(g_installDir, "D:\\Programs\\App\\", kPathSize);
        lstrcpynA(g_programName, "setup.exe", kFileNameSize);
        lstrcpynA(g_scriptName, "setupJ.INF", kFileNameSize);
        script_.reset(new ScriptFile("[Install]\r\n"
                                     "1=readme.txt\r\n"
                                     "2=src\\a.dll, sub\\b.dll\r\n"
                                     "3=sys.dll, S!sub\\sys.dll\r\n"
                                     "4=w.ini,\t w!w.ini\r\n"
                                     "5=x.dll,s\r\n"
                                     "6=y.dll,s!\r\n"
                                     "[Group]\r\n"
                                     "1=Readme,doc\\readme.txt?d!, /x\r\n"
                                     "2=NoComma\r\n"));
    }

    std::string SystemDir()
    {
        char dir[MAX_PATH];
        GetSystemDirectoryA(dir, MAX_PATH);
        return dir;
    }

    std::unique_ptr<ScriptFile> script_;
};

TEST_F(Entries, ProgramAndScript)
{
    EXPECT_TRUE(ResolveInstallEntry(-1));
    EXPECT_STREQ("setup.exe", g_entryName);
    EXPECT_STREQ("D:\\Programs\\App\\setup.exe", g_entryTarget);
    EXPECT_TRUE(ResolveInstallEntry(0));
    EXPECT_STREQ("setupJ.INF", g_entryName);
    EXPECT_STREQ("D:\\Programs\\App\\setup.INF", g_entryTarget);
}

TEST_F(Entries, NumberedEntries)
{
    EXPECT_TRUE(ResolveInstallEntry(1));
    EXPECT_STREQ("readme.txt", g_entryName);
    EXPECT_STREQ("D:\\Programs\\App\\readme.txt", g_entryTarget);

    EXPECT_TRUE(ResolveInstallEntry(2));
    EXPECT_STREQ("src\\a.dll", g_entryName);
    EXPECT_STREQ("D:\\Programs\\App\\sub\\b.dll", g_entryTarget);

    EXPECT_FALSE(ResolveInstallEntry(3)) << "system-directory files are shared";
    EXPECT_STREQ("sys.dll", g_entryName);
    EXPECT_EQ(SystemDir() + "\\sub\\sys.dll", g_entryTarget);

    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_TRUE(ResolveInstallEntry(4));
    EXPECT_EQ(std::string(windows) + "\\w.ini", g_entryTarget);

    EXPECT_TRUE(ResolveInstallEntry(5));
    EXPECT_STREQ("D:\\Programs\\App\\s", g_entryTarget);

    EXPECT_FALSE(ResolveInstallEntry(6));
    EXPECT_EQ(SystemDir() + "\\", g_entryTarget);
}

// Cut short, a target would name another file, even one installed under the
// shorter name: it is left empty instead.
TEST_F(Entries, TargetsThatDoNotFitAreLeftEmpty)
{
    const std::string longDir = "D:\\" + std::string(248, 'a') + "\\";
    lstrcpynA(g_installDir, longDir.c_str(), kPathSize);
    ASSERT_EQ(longDir, g_installDir);

    EXPECT_TRUE(ResolveInstallEntry(1));
    EXPECT_STREQ("readme.txt", g_entryName);
    EXPECT_STREQ("", g_entryTarget) << "readme.txt would become readme.t";
    EXPECT_TRUE(ResolveInstallEntry(-1));
    EXPECT_STREQ("", g_entryTarget);
    EXPECT_TRUE(ResolveInstallEntry(5));
    EXPECT_EQ(longDir + "s", g_entryTarget);
    ResolveGroupEntry(1);
    EXPECT_STREQ("", g_entryTarget);
}

TEST_F(Entries, GroupEntries)
{
    ResolveGroupEntry(1);
    EXPECT_STREQ("Readme", g_entryName);
    EXPECT_STREQ("D:\\Programs\\App\\doc\\readme.txt?d!, /x", g_entryTarget);
    ResolveGroupEntry(2);
    EXPECT_STREQ("", g_entryName);
    EXPECT_STREQ("", g_entryTarget);
}

std::string ProgramOf(const char* commandLine)
{
    char buffer[kPathSize];
    lstrcpynA(buffer, commandLine, kPathSize);
    return CommandLineProgram(buffer);
}

TEST(CommandLineProgram, ReducesToTheProgramPath)
{
    EXPECT_EQ("C:\\Program Files\\App\\install.exe", ProgramOf("\"C:\\Program Files\\App\\install.exe\" /r"));
    EXPECT_EQ("C:\\App\\install.exe", ProgramOf(" \t C:\\App\\install.exe /r"));
    EXPECT_EQ("install.exe", ProgramOf("install.exe"));
    // The closing quote is looked for from the second character on.
    EXPECT_EQ("\" x", ProgramOf("\"\" x\" y"));
    EXPECT_EQ("", ProgramOf("\""));
    EXPECT_EQ("C:\\a b", ProgramOf("\"C:\\a b"));
}

TEST(RegistryKey, ReadsOnlyPlainStringsThatFit)
{
    const std::wstring keyPath = std::wstring(kUninstallKey) + L"\\ShellTestValues";
    ScopedUninstallEntry key(L"ShellTestValues");
    ASSERT_TRUE(key.Set(L"Plain", L"value"));
    ASSERT_TRUE(key.Set(L"Expand", L"%TEMP%", REG_EXPAND_SZ));
    ScopedRegistryValue unterminated(HKEY_LOCAL_MACHINE, keyPath, L"Unterminated");
    ASSERT_TRUE(unterminated.SetBytes(std::string("a\0b\0c\0", 6), REG_SZ));

    RegistryKey holder;
    EXPECT_FALSE(holder.IsOpen());
    EXPECT_FALSE(holder.ReadString("Plain", g_entryName, kPathSize)) << "closed holder";
    EXPECT_FALSE(holder.Open(HKEY_LOCAL_MACHINE, "Software\\NoSuchShellTestKey", KEY_READ));
    ASSERT_TRUE(holder.Open(HKEY_LOCAL_MACHINE, Ansi(keyPath).c_str(), KEY_READ));

    char buffer[6];
    EXPECT_TRUE(holder.ReadString("Plain", buffer, sizeof(buffer)));
    EXPECT_STREQ("value", buffer);
    EXPECT_FALSE(holder.ReadString("Plain", buffer, 5)) << "no room for the terminator";
    EXPECT_FALSE(holder.ReadString("Expand", buffer, sizeof(buffer)));
    EXPECT_FALSE(holder.ReadString("Missing", buffer, sizeof(buffer)));
    EXPECT_TRUE(holder.ReadString("Unterminated", buffer, sizeof(buffer)));
    EXPECT_STREQ("abc", buffer);

    holder.Close();
    EXPECT_FALSE(holder.IsOpen());
    EXPECT_FALSE(holder.ReadString("Plain", buffer, sizeof(buffer)));
}
