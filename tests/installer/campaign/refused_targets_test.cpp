// The faults the campaign found, kept as fixed cases: targets, icon files and
// working directories that a script leads out of their folder through "..",
// a drive or a stream are refused, and a refused file is reported and copied
// nowhere.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "box_answerer.h"
#include "file_copy.h"
#include "globals.h"
#include "install_entries.h"
#include "messages.h"
#include "settings_fixture.h"
#include "shortcut_item.h"
#include "shortcuts.h"
#include "target_checks.h"
#include "test_files.h"

using installer_testing::Ansi;
using installer_testing::ScriptFile;
using testing_support::ScratchDir;

namespace {

// An install folder that exists, with a "data" folder, inside a scratch
// folder that is the parent a "..\" would reach.
class RefusedTargets : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hInstance = GetModuleHandleW(nullptr);
        g_hwndOwner = nullptr;
        g_commonMenu = false;
        ASSERT_TRUE(testing_support::CreateDirectories(scratch_ / L"App\\data"));
        installDir_ = Ansi(scratch_ / L"App\\");
        lstrcpynA(g_installDir, installDir_.c_str(), kPathSize);
        lstrcpynA(g_programName, "install.exe", kFileNameSize);
        lstrcpynA(g_scriptName, "install.INF", kFileNameSize);
    }

    void UseScript(const std::string& section, const std::string& entry)
    {
        script_.reset(new ScriptFile("[" + section + "]\r\n1=" + entry + "\r\n"));
    }

    ScratchDir scratch_{L"refused"};
    std::string installDir_;
    std::unique_ptr<ScriptFile> script_;
};

}  // namespace

TEST_F(RefusedTargets, InstallEntriesStayInTheirFolder)
{
    const std::string system = campaign::SystemDirectory();
    const struct {
        const char* entry;
        bool result;
        std::string target;  // "" : refused
    } cases[] = {
        {"a.dll, ..\\..\\Windows\\a.dll", true, ""},
        {"..\\..\\x.dll", true, ""},
        {"a.txt, readme.txt:hidden", true, ""},
        {"a.dll, C:\\Windows\\a.dll", true, ""},
        {"a.dll, \\\\?\\C:\\x.dll", true, ""},
        {"a.dll, S!..\\..\\a.dll", false, ""},
        {"a.dll, W!..\\a.dll", true, ""},
        {"a.dll, w!C:\\x.dll", true, ""},
        {"a.dll, sub\\..\\b.dll", true, installDir_ + "sub\\..\\b.dll"},
        {"a.dll, S!sub\\..\\b.dll", false, system + "\\sub\\..\\b.dll"},
    };
    for (const auto& c : cases) {
        UseScript("Install", c.entry);
        EXPECT_EQ(c.result, ResolveInstallEntry(1)) << c.entry;
        EXPECT_EQ(c.target, g_entryTarget) << c.entry;
    }

    // An install folder that leaves no room for the script's name: the
    // script's target is refused, not the bare name ".INF".
    const std::string full = "D:\\" + std::string(250, 'a') + "\\";
    lstrcpynA(g_installDir, full.c_str(), kPathSize);
    EXPECT_TRUE(ResolveInstallEntry(0));
    EXPECT_STREQ("", g_entryTarget);
}

TEST_F(RefusedTargets, ShortcutsStayInTheirFolder)
{
    const struct {
        const char* entry;
        std::string target;  // "" : refused
        bool hasIcon;
        std::string iconFile;
    } cases[] = {
        {"Tool,..\\..\\Windows\\notepad.exe", "", false, ""},
        {"Tool,..\\tool.exe?1", "", false, ""},
        {"Tool,tool.exe?0=..\\..\\evil.ico", installDir_ + "tool.exe", false, ""},
        {"Tool,tool.exe?0=ico:stream", installDir_ + "tool.exe", false, ""},
        {"Tool,tool.exe?0=C:\\icons\\a.ico", installDir_ + "tool.exe", true, "C:\\icons\\a.ico"},
        {"Tool,bin\\..\\tool.exe?2=res\\a.ico", installDir_ + "bin\\..\\tool.exe", true, installDir_ + "res\\a.ico"},
    };
    for (const auto& c : cases) {
        UseScript("Group", c.entry);
        ShortcutItem item;
        ReadShortcutItem(1, &item);
        EXPECT_EQ(c.target, item.target) << c.entry;
        EXPECT_EQ(c.hasIcon, item.hasIcon) << c.entry;
        if (c.hasIcon)
            EXPECT_EQ(c.iconFile, item.iconFile) << c.entry;
    }

    // The title shortcut may point where its [Install] entry may go.
    UseScript("Install", "a.cfg, W!a.cfg");
    ShortcutItem title;
    ReadShortcutItem(0, &title);
    EXPECT_EQ(campaign::WindowsDirectory() + "\\a.cfg", title.target);
}

TEST_F(RefusedTargets, WorkingDirectoriesStayBelowTheirBase)
{
    const std::string parent = Ansi(scratch_.Path());
    const struct {
        std::string segment;
        std::string folder;
    } cases[] = {
        {"..\\..", installDir_},
        {"data\\..\\..", installDir_},
        {"w!..\\..", installDir_},
        {"data", installDir_ + "data"},
        {"w!", campaign::WindowsDirectory()},
        {parent, parent},  // an absolute folder is the script's own choice
    };
    for (const auto& c : cases) {
        char folder[kPathSize];
        ResolveWorkingDirectory(c.segment.c_str(), folder);
        EXPECT_EQ(c.folder, folder) << c.segment;
    }
}

TEST_F(RefusedTargets, RefusedFileIsReportedAndCopiedNowhere)
{
    ScratchDir source(L"source");
    ASSERT_TRUE(testing_support::WriteFileBytes(source / L"a.dll", "payload"));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(source.Path().c_str()));
    UseScript("Install", "a.dll, ..\\escaped.dll");

    testing_support::BoxAnswerer answerer;
    EXPECT_TRUE(ResolveInstallEntry(1));
    EXPECT_FALSE(CopyEntryFile(false));
    SetCurrentDirectoryW(previous);

    EXPECT_FALSE(testing_support::FileExists(scratch_ / L"escaped.dll"));
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ(std::string(FormatText(IDS_COPY_FAILED, "a.dll")), Ansi(answerer.Seen()[0].text));
}

TEST_F(RefusedTargets, ShortcutNamesStayInTheirFolder)
{
    const std::wstring menu = scratch_ / L"Menu\\Group";
    ASSERT_TRUE(testing_support::CreateDirectories(menu));
    ASSERT_TRUE(testing_support::WriteFileBytes(scratch_ / L"Menu\\keep.txt", "keeps Menu"));
    lstrcpynA(g_menuDir, Ansi(menu).c_str(), kPathSize);
    lstrcpynA(g_title, "Tool", kTitleSize);
    g_groupCount = 1;
    UseScript("Group", "..\\..\\escaped,tool.exe");
    const std::wstring outside = scratch_ / L"escaped.lnk";

    ASSERT_TRUE(testing_support::WriteFileBytes(outside, "not the package's"));
    ProcessShortcuts(LocationProgramMenu, true);
    EXPECT_EQ("not the package's", testing_support::ReadFileBytes(outside)) << "the uninstall deleted it";

    ASSERT_TRUE(DeleteFileW(outside.c_str()));
    ProcessShortcuts(LocationProgramMenu, false);
    EXPECT_FALSE(testing_support::FileExists(outside)) << "the install wrote it";
}
