// The install run in this process: the CopyAll list, and RunInstallStep step
// by step on a stand-in page (a window with the progress page's controls),
// copying real files from a scratch source folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "box_answerer.h"
#include "copy_all.h"
#include "folder_security.h"
#include "globals.h"
#include "install_run.h"
#include "install_wizard.h"
#include "installed_file_lookup.h"
#include "registry_fixture.h"
#include "registry_values.h"
#include "settings_fixture.h"
#include "test_files.h"
#include "unix_links.h"

using namespace installer_testing;
using namespace testing_support;

namespace {

const wchar_t kRunKey[] = L"WizardRunTest";

// The progress page's controls on a hidden window of this thread.
class StandInPage {
public:
    StandInPage()
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        page_ = CreateWindowExW(0, L"STATIC", L"page", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 10, page_, HMENU(1004), nullptr,
                        nullptr);
        CreateWindowExW(0, L"STATIC", L"Copying ...", WS_CHILD | WS_VISIBLE, 0, 20, 100, 10, page_, HMENU(1008),
                        nullptr, nullptr);
        CreateWindowExW(0, L"STATIC", L"template hint", WS_CHILD, 0, 40, 100, 10, page_, HMENU(1010), nullptr,
                        nullptr);
    }
    ~StandInPage() { DestroyWindow(page_); }
    HWND Get() const { return page_; }

    // Step commands posted to the page since the last call.
    int TakePostedSteps()
    {
        int steps = 0;
        MSG message;
        while (PeekMessageW(&message, page_, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            steps += message.wParam == kInstallStepCommand;
        return steps;
    }
    int RangeHigh() { return int(SendDlgItemMessageW(page_, 1004, PBM_GETRANGE, FALSE, 0)); }
    int Position() { return int(SendDlgItemMessageW(page_, 1004, PBM_GETPOS, 0, 0)); }
    std::wstring Text(int id)
    {
        wchar_t text[512] = {};
        GetDlgItemTextW(page_, id, text, 512);
        return text;
    }
    bool Visible(int id) { return (GetWindowLongW(GetDlgItem(page_, id), GWL_STYLE) & WS_VISIBLE) != 0; }

private:
    HWND page_;
};

// A source folder (the current directory) with the program, its script and
// one data file, and an install folder below the same scratch folder.
class InstallRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hInstance = GetModuleHandleW(nullptr);
        GetCurrentDirectoryW(MAX_PATH, previousDir_);
        source_ = root_ / L"source";
        target_ = root_ / L"target";
        ASSERT_TRUE(CreateDirectories(source_));
        ASSERT_TRUE(WriteFileBytes(source_ + L"\\install.exe", "program"));
        ASSERT_TRUE(WriteFileBytes(source_ + L"\\data.txt", "data"));
        ASSERT_TRUE(SetCurrentDirectoryW(source_.c_str()));

        lstrcpynA(g_programName, "install.exe", kFileNameSize);
        lstrcpynA(g_scriptName, "install.INF", kFileNameSize);
        lstrcpynA(g_scriptPath, Ansi(source_ + L"\\install.INF").c_str(), kPathSize);
        lstrcpynA(g_installDir, Ansi(target_ + L"\\").c_str(), kPathSize);
        lstrcpynA(g_title, "Run Test", kTitleSize);
        lstrcpynA(g_installKey, "WizardRunTest", kPathSize);
        g_hwndSheet = page_.Get();
        g_hwndOwner = page_.Get();
        g_installStep = 0;
        g_installDone = false;
        g_copyAllCount = 0;
        g_resident = g_wantStartMenu = g_wantDesktopIcon = false;
        g_uninstallMenuName[0] = '\0';
    }
    void TearDown() override { SetCurrentDirectoryW(previousDir_); }

    void WriteScript(const std::string& installLines, int entries, bool copyAll)
    {
        ASSERT_TRUE(WriteFileBytes(source_ + L"\\install.INF", "[Install]\r\nTitle=Run Test\r\nFolder=x\r\n" +
                                                                   installLines));
        g_installCount = entries;
        g_copyAll = copyAll;
    }

    // Runs one step; returns g_entryName afterwards and checks that the next
    // step was posted unless the run completed.
    std::string Step()
    {
        RunInstallStep(page_.Get());
        EXPECT_EQ(g_installDone ? 0 : 1, page_.TakePostedSteps()) << "after step " << g_installStep - 1;
        return g_entryName;
    }

    std::string Target(const char* name) { return std::string(g_installDir) + name; }

    ScratchDir root_{L"run"};
    std::wstring source_;
    std::wstring target_;
    StandInPage page_;
    ScopedUninstallEntry entry_{kRunKey};
    wchar_t previousDir_[MAX_PATH] = {};
};

TEST_F(InstallRun, CopyAllStepsFollowTheScriptEntries)
{
    WriteScript("1=data.txt\r\n2=data.txt, sub\\second.txt\r\nCopyAll=1\r\n", 2, true);
    BoxAnswerer boxes;

    Step();
    EXPECT_EQ(5, g_installCount) << "F + C";
    EXPECT_EQ(8, page_.RangeHigh()) << "T + 3";
    EXPECT_TRUE(DirectoryExists(target_));

    EXPECT_EQ("install.exe", Step());
    EXPECT_EQ("install.INF", Step());
    EXPECT_EQ(Target("install.INF"), g_entryTarget);
    EXPECT_EQ("data.txt", Step());
    EXPECT_EQ("data.txt", Step());
    EXPECT_EQ(Target("sub\\second.txt"), g_entryTarget);

    std::vector<std::string> tree;
    for (int i = 0; i < 3; ++i) {
        tree.push_back(Step());
        EXPECT_EQ(Target(tree.back().c_str()), g_entryTarget);
    }
    std::sort(tree.begin(), tree.end());
    EXPECT_EQ((std::vector<std::string>{"data.txt", "install.INF", "install.exe"}), tree);
    EXPECT_FALSE(g_installDone);

    Step();
    EXPECT_TRUE(g_installDone);
    EXPECT_EQ(9, g_installStep);
    EXPECT_EQ(8, page_.Position()) << "full before the finishing step ends";
    EXPECT_EQ(0u, boxes.Count());

    EXPECT_EQ("program", ReadFileBytes(target_ + L"\\install.exe"));
    EXPECT_EQ("data", ReadFileBytes(target_ + L"\\sub\\second.txt"));
    EXPECT_EQ(ReadFileBytes(source_ + L"\\install.INF"), ReadFileBytes(target_ + L"\\install.INF"));
}

TEST_F(InstallRun, CompletionShowsTheTextsAndWritesTheEntry)
{
    WriteScript("", 0, false);
    for (int step = 0; step < 4; ++step)
        Step();
    EXPECT_TRUE(g_installDone);
    EXPECT_EQ(3, page_.RangeHigh());
    EXPECT_FALSE(page_.Visible(1004));
    EXPECT_TRUE(page_.Visible(1010));
    EXPECT_EQ(L"Installation succeeded.  Press <Finish> for completion.", page_.Text(1008));
    EXPECT_EQ(L"template hint", page_.Text(1010)) << "no uninstall shortcut, template text stays";

    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + L"\\" + kRunKey).c_str(),
                                           0, KEY_READ, &key));
    wchar_t command[MAX_PATH] = {};
    DWORD size = sizeof(command);
    RegQueryValueExW(key, L"UninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(command), &size);
    RegCloseKey(key);
    EXPECT_EQ(L"\"" + target_ + L"\\install.exe\" /r", std::wstring(command));
}

TEST_F(InstallRun, UninstallMenuNameReachesTheHint)
{
    WriteScript("", 0, false);
    lstrcpynA(g_uninstallMenuName, "Remove Run Test", kPathSize);
    for (int step = 0; step < 4; ++step)
        Step();
    EXPECT_EQ(L"Use <Remove Run Test> in the menu for the uninstallation.", page_.Text(1010));
}

// Counts the position changes that reach the page's progress bar.
class BarChanges {
public:
    explicit BarChanges(HWND page) : bar_(GetDlgItem(page, 1004))
    {
        SetPropW(bar_, L"changes", this);
        original_ = WNDPROC(SetWindowLongPtrW(bar_, GWLP_WNDPROC, LONG_PTR(Count)));
    }
    ~BarChanges() { SetWindowLongPtrW(bar_, GWLP_WNDPROC, LONG_PTR(original_)); }
    int Changes() const { return changes_; }

private:
    static LRESULT CALLBACK Count(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = static_cast<BarChanges*>(GetPropW(bar, L"changes"));
        if (message == PBM_DELTAPOS || message == PBM_SETPOS || message == PBM_STEPIT)
            ++self->changes_;
        return CallWindowProcW(self->original_, bar, message, wParam, lParam);
    }
    HWND bar_;
    WNDPROC original_ = nullptr;
    int changes_ = 0;
};

// Every position change repaints the bar: however fast the steps come, it
// changes at most every 30 ms, and ends full all the same.
TEST_F(InstallRun, BarChangesAtMostEveryThirtyMilliseconds)
{
    const int files = 200;
    std::string lines;
    for (int n = 1; n <= files; ++n)
        lines += std::to_string(n) + "=data.txt, copy" + std::to_string(n) + ".txt\r\n";
    WriteScript(lines, files, false);
    BarChanges bar(page_.Get());
    const DWORD start = GetTickCount();
    while (g_installStep < files + 3)
        Step();
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_LE(bar.Changes(), int(elapsed / 30) + 2) << elapsed << " ms";
    EXPECT_TRUE(FileExists(target_ + L"\\copy200.txt"));
    Step();
    EXPECT_TRUE(g_installDone);
    EXPECT_EQ(files + 3, page_.Position()) << "full at completion";
}

TEST_F(InstallRun, FailedCopyIsReportedAndTheRunGoesOn)
{
    WriteScript("1=missing.txt\r\n2=data.txt\r\n", 2, false);
    BoxAnswerer boxes;
    for (int step = 0; step < 6; ++step)
        Step();
    EXPECT_TRUE(g_installDone);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(L"Failed in copying missing.txt", boxes.Seen()[0].text);
    EXPECT_TRUE(FileExists(target_ + L"\\data.txt"));
}

// An install folder too long for the targets (the destination page refuses
// one, a registered folder may still be one): every target that does not
// fit is reported (message 21) and nothing is made under an empty name: no
// script copy ".INF", no shortcut pointing nowhere, no command "\"\" /r".
TEST_F(InstallRun, TargetsThatDoNotFitAreReportedAndSkipped)
{
    WriteScript("1=data.txt\r\n[Group]\r\n1=App,data.txt\r\n", 1, false);
    g_groupCount = 1;
    g_wantStartMenu = true;
    ScratchDir menu(L"menu");
    lstrcpynA(g_menuDir, Ansi(menu.Path()).c_str(), kPathSize);
    const std::wstring longDir = target_ + L"\\" + std::wstring(252 - target_.size(), L'd') + L"\\";
    lstrcpynA(g_installDir, Ansi(longDir).c_str(), kPathSize);
    BoxAnswerer boxes;
    while (!g_installDone)
        Step();
    std::vector<std::wstring> texts;
    for (const MessageBoxSeen& box : boxes.Seen())
        texts.push_back(box.text);
    for (const wchar_t* name : {L"install.exe", L"install.INF", L"data.txt", L"App"}) {
        EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), std::wstring(L"Failed in copying ") + name))
            << Ansi(name);
    }
    EXPECT_FALSE(FileExists(source_ + L"\\.INF"));
    EXPECT_FALSE(FileExists(menu / L"App.lnk"));
    EXPECT_EQ(L"", RegistryText(HKEY_LOCAL_MACHINE, std::wstring(kUninstallKey) + L"\\" + kRunKey, L"UninstallString"));
}

// "Open" relative to the install folder: a file there is opened by its full
// path (the shell would look beside install.exe first), a name without an
// extension with the program extensions; an absolute path as given. Any
// other relative name is not opened at all.
TEST_F(InstallRun, OpenTargetIsTheInstalledFileOrNothing)
{
    ASSERT_TRUE(CreateDirectories(target_ + L"\\docs"));
    ASSERT_TRUE(WriteFileBytes(target_ + L"\\docs\\readme.txt", "installed"));
    ASSERT_TRUE(WriteFileBytes(target_ + L"\\Tool.exe", "installed"));
    const std::string installed = Ansi(target_ + L"\\docs\\readme.txt");
    const struct {
        std::string value;
        std::string opened;  // "" when nothing is opened
    } cases[] = {
        {"docs\\readme.txt", installed},
        {"Tool", Ansi(target_ + L"\\Tool.exe")},
        {installed, installed},
        {"\\\\server\\share\\tool.exe", "\\\\server\\share\\tool.exe"},
        {"notepad.exe", ""},
        {"missing.txt", ""},
        {"docs\\readme", ""},
        {"docs", ""},
        {"..\\docs\\readme.txt", ""},
        {"C:docs\\readme.txt", ""},
    };
    for (const auto& c : cases) {
        char file[kPathSize];
        lstrcpynA(file, c.value.c_str(), kPathSize);
        const bool opened = ResolveOpenTarget(file);
        EXPECT_EQ(!c.opened.empty(), opened) << c.value;
        if (opened)
            EXPECT_EQ(c.opened, file) << c.value;
    }
}

TEST_F(InstallRun, TreeOfMoreThanAThousandFilesCopiesNone)
{
    ASSERT_TRUE(CreateDirectories(source_ + L"\\many"));
    // With the program, the script and data.txt: 1001 files.
    for (int i = 0; i < 998; ++i)
        ASSERT_TRUE(WriteFileBytes(source_ + L"\\many\\f" + std::to_wstring(i) + L".txt", "x"));
    WriteScript("CopyAll=1\r\n", 0, true);
    Step();
    EXPECT_FALSE(g_copyAll);
    EXPECT_EQ(0, g_installCount);
    EXPECT_EQ(3, page_.RangeHigh());
    while (!g_installDone)
        Step();
    EXPECT_EQ(4, g_installStep);
    EXPECT_FALSE(DirectoryExists(target_ + L"\\many"));
}

class CopyAllList : public InstallRun {};

TEST_F(CopyAllList, HoldsEveryFileOfTheTreeWithRelativePaths)
{
    ASSERT_TRUE(CreateDirectories(source_ + L"\\sub\\deeper"));
    ASSERT_TRUE(WriteFileBytes(source_ + L"\\sub\\deeper\\x.bin", "x"));
    ASSERT_TRUE(WriteFileBytes(source_ + L"\\..two dots", "skipped"));
    ASSERT_TRUE(WriteFileBytes(source_ + L"\\.one dot", "kept"));
    ASSERT_TRUE(CreateDirectories(source_ + L"\\empty"));
    ASSERT_EQ(4, CollectCopyAllFiles());
    std::vector<std::string> names(g_copyAllList, g_copyAllList + g_copyAllCount);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{".one dot", "data.txt", "install.exe", "sub\\deeper\\x.bin"}),
              names);
}

// A folder link on the medium (a Unix symbolic link under Wine) is not
// followed: the files behind it are not the medium's.
TEST_F(CopyAllList, FolderLinksAreNotFollowed)
{
    ScratchDir outside(L"outside");
    ASSERT_TRUE(WriteFileBytes(outside / L"foreign.txt", "not on the medium"));
    ASSERT_TRUE(MakeUnixLink(source_ + L"\\linked", outside.Path()));
    const int count = CollectCopyAllFiles();
    std::vector<std::string> names(g_copyAllList, g_copyAllList + g_copyAllCount);
    EXPECT_TRUE(RemoveUnixLink(source_ + L"\\linked"));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(2, count);
    EXPECT_EQ((std::vector<std::string>{"data.txt", "install.exe"}), names);
}

TEST_F(CopyAllList, ExactlyAThousandFilesFit)
{
    ASSERT_TRUE(CreateDirectories(source_ + L"\\many"));
    for (int i = 0; i < 998; ++i)
        ASSERT_TRUE(WriteFileBytes(source_ + L"\\many\\f" + std::to_wstring(i), ""));
    EXPECT_EQ(1000, CollectCopyAllFiles());
    ASSERT_TRUE(WriteFileBytes(source_ + L"\\one more", ""));
    EXPECT_EQ(-1, CollectCopyAllFiles());
}

TEST_F(CopyAllList, PathTooLongForItsSlotRefusesTheTree)
{
    std::wstring relative;
    while (relative.size() < 200) {
        relative += relative.empty() ? L"" : L"\\";
        relative += std::wstring(40, L'd');
    }
    ASSERT_TRUE(CreateDirectories(source_ + L"\\" + relative));
    std::wstring name = std::wstring(259 - relative.size() - 1, L'n');
    ASSERT_TRUE(WriteFileBytes(source_ + L"\\" + relative + L"\\" + name, "fits"));
    EXPECT_EQ(3, CollectCopyAllFiles()) << "259 characters fit";
    ASSERT_TRUE(WriteFileBytes(source_ + L"\\" + relative + L"\\" + name + L"x", "too long"));
    EXPECT_EQ(-1, CollectCopyAllFiles());
}

TEST_F(CopyAllList, SelectedEntryTargetsTheInstallFolder)
{
    ASSERT_EQ(2, CollectCopyAllFiles());
    ASSERT_TRUE(SelectCopyAllEntry(1));
    EXPECT_STREQ(g_copyAllList[1], g_entryName);
    EXPECT_EQ(Target(g_copyAllList[1]), g_entryTarget);

    lstrcpynA(g_installDir, (std::string(255, 'i') + "\\").c_str(), kPathSize);
    EXPECT_FALSE(SelectCopyAllEntry(0)) << "a cut target would copy the file elsewhere";
}

// A listed path that would make a target outside the install folder (or the
// folder itself, once the system drops trailing dots) is not copied.
TEST_F(CopyAllList, TargetsThatLeaveTheInstallFolderAreRefused)
{
    ASSERT_EQ(2, CollectCopyAllFiles());
    for (const char* listed : {"..\\outside.txt", "sub\\..\\..\\outside.txt", "C:\\outside.txt", "..."}) {
        lstrcpynA(g_copyAllList[0], listed, kPathSize);
        EXPECT_FALSE(SelectCopyAllEntry(0)) << listed;
        EXPECT_STREQ("", g_entryTarget) << listed;
    }
}

// The descriptor a new install folder outside Program Files gets, read
// back: protected from inheritance; SYSTEM and Administrators full control,
// Users read and execute, each for the folder, its subfolders and its files.
TEST(InstallFolderSecurity, ProtectedDescriptorReadBack)
{
    ProtectedFolderSecurity security;
    ASSERT_NE(nullptr, security.Get());
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorControl(security.Get()->lpSecurityDescriptor, &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    ASSERT_TRUE(GetSecurityDescriptorDacl(security.Get()->lpSecurityDescriptor, &present, &dacl, &defaulted) && dacl);
    const struct {
        WELL_KNOWN_SID_TYPE sid;
        ACCESS_MASK access;
    } expected[] = {{WinLocalSystemSid, FILE_ALL_ACCESS}, {WinBuiltinAdministratorsSid, FILE_ALL_ACCESS},
                    {WinBuiltinUsersSid, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}};
    ASSERT_EQ(ARRAYSIZE(expected), dacl->AceCount);
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        BYTE sid[SECURITY_MAX_SID_SIZE];
        DWORD size = sizeof(sid);
        ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
        ASSERT_TRUE(CreateWellKnownSid(expected[i].sid, nullptr, sid, &size));
        EXPECT_TRUE(ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && EqualSid(&ace->SidStart, sid)) << i;
        EXPECT_EQ(OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, ace->Header.AceFlags) << i;
        EXPECT_EQ(expected[i].access, ace->Mask) << i;
    }
}

}  // namespace
