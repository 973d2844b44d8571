// The group list of the menu options page, filled from a start menu made in
// a scratch folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "globals.h"
#include "menu_groups.h"
#include "registry_fixture.h"
#include "settings_fixture.h"
#include "test_files.h"

using namespace installer_testing;
using namespace testing_support;

namespace {

class MenuGroups : public ::testing::Test {
protected:
    void SetUp() override
    {
        startMenu_ = root_ / L"Start Menu";
        for (const wchar_t* folder : {L"Programs\\Startup\\Inside", L"Programs\\Tools", L"Programs\\A\\B",
                                      L"Games", L"..dots"})
            ASSERT_TRUE(CreateDirectories(startMenu_ + L"\\" + folder));
        ASSERT_TRUE(WriteFileBytes(startMenu_ + L"\\Programs\\file.lnk", ""));
        ASSERT_TRUE(startMenuValue_.SetString(startMenu_));
        ASSERT_TRUE(startupValue_.SetString(startMenu_ + L"\\Programs\\Startup"));
        g_commonMenu = false;
        combo_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_POPUP | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL, 0, 0,
                                 200, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, combo_);
    }
    void TearDown() override { DestroyWindow(combo_); }

    std::vector<std::wstring> Items()
    {
        std::vector<std::wstring> items;
        int count = int(SendMessageW(combo_, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[MAX_PATH] = {};
            SendMessageW(combo_, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    std::wstring Shown()
    {
        wchar_t text[MAX_PATH] = {};
        GetWindowTextW(combo_, text, MAX_PATH);
        return text;
    }
    void SetMenuDir(const std::wstring& dir) { lstrcpynA(g_menuDir, Ansi(dir).c_str(), kPathSize); }

    ScratchDir root_{L"menu"};
    std::wstring startMenu_;
    ScopedRegistryValue startMenuValue_{HKEY_CURRENT_USER, kShellFoldersKey, L"Start Menu"};
    ScopedRegistryValue startupValue_{HKEY_CURRENT_USER, kShellFoldersKey, L"Startup"};
    HWND combo_ = nullptr;
};

TEST_F(MenuGroups, TwoLevelsWithoutTheStartupFolderAndTheNewGroupSelected)
{
    SetMenuDir(startMenu_ + L"\\Programs\\New Group");
    FillMenuGroupList(combo_);
    EXPECT_EQ((std::vector<std::wstring>{L"Games", L"Programs", L"Programs\\A", L"Programs\\New Group",
                                         L"Programs\\Tools"}),
              Items());
    EXPECT_EQ(L"Programs\\New Group", Shown());
}

TEST_F(MenuGroups, ExistingGroupIsSelectedNotAddedTwice)
{
    SetMenuDir(startMenu_ + L"\\Programs\\Tools");
    FillMenuGroupList(combo_);
    EXPECT_EQ(4u, Items().size());
    EXPECT_EQ(L"Programs\\Tools", Shown());
}

TEST_F(MenuGroups, GroupOutsideTheStartMenuIsOfferedByItsName)
{
    // A short folder elsewhere: cutting it by the start menu's length would
    // read past its end.
    SetMenuDir(L"C:\\G\\Legacy");
    FillMenuGroupList(combo_);
    EXPECT_EQ(L"Legacy", Shown());

    SetMenuDir(startMenu_ + L"\\\\Doubled");
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    FillMenuGroupList(combo_);
    EXPECT_EQ(L"Doubled", Shown()) << "a \"Menu\" value starting with a separator";
}

TEST_F(MenuGroups, UnreadableStartupFolderLeavesTheListEmpty)
{
    ASSERT_TRUE(startupValue_.Remove());
    SetMenuDir(startMenu_ + L"\\Programs\\Tools");
    FillMenuGroupList(combo_);
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(L"", Shown());
}

TEST_F(MenuGroups, CommonMenuReadsTheAllUsersFolders)
{
    ScratchDir common(L"common");
    ASSERT_TRUE(CreateDirectories(common / L"Programs\\Shared"));
    ScopedRegistryValue commonStart(HKEY_LOCAL_MACHINE, kShellFoldersKey, L"Common Start Menu");
    ScopedRegistryValue commonStartup(HKEY_LOCAL_MACHINE, kShellFoldersKey, L"Common Startup");
    ASSERT_TRUE(commonStart.SetString(common.Path()));
    ASSERT_TRUE(commonStartup.SetString(common / L"Programs\\Startup"));
    g_commonMenu = true;
    SetMenuDir(common / L"Programs\\Shared");
    FillMenuGroupList(combo_);
    g_commonMenu = false;
    EXPECT_EQ((std::vector<std::wstring>{L"Programs", L"Programs\\Shared"}), Items());
    EXPECT_EQ(L"Programs\\Shared", Shown());
}

}  // namespace
