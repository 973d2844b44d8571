// The loop over the script's "RegFiles" keys after a completed install. This
// program records the calls in place of the real registration.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "box_answerer.h"
#include "component_registration.h"
#include "globals.h"
#include "install_wizard.h"
#include "settings_fixture.h"

using namespace installer_testing;

namespace {

std::vector<std::string> g_registered;

}  // namespace

void RegisterComponent(const char* path, bool unregister)
{
    g_registered.push_back((unregister ? "unregister " : "register ") + std::string(path));
}

class RegisterComponentsLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_registered.clear();
        lstrcpynA(g_installDir, (Ansi(dir_.Path()) + "\\").c_str(), kPathSize);
        ASSERT_TRUE(testing_support::WriteFileBytes(dir_ / L"a.dll", "a"));
        ASSERT_TRUE(testing_support::CreateDirectories(dir_ / L"sub"));
        ASSERT_TRUE(testing_support::WriteFileBytes(dir_ / L"sub\\c.dll", "c"));
    }

    std::string Installed(const char* name) { return "register " + std::string(g_installDir) + name; }

    testing_support::ScratchDir dir_{L"components"};
};

TEST_F(RegisterComponentsLoop, RegistersExistingFilesUpToTheFirstGap)
{
    ScriptFile script("[Install]\r\nRegFiles0=a.dll\r\nRegFiles1=missing.dll\r\nRegFiles2=sub\\c.dll\r\n"
                      "RegFiles4=a.dll\r\n");
    RegisterComponents();
    EXPECT_EQ((std::vector<std::string>{Installed("a.dll"), Installed("sub\\c.dll")}), g_registered);
}

TEST_F(RegisterComponentsLoop, ListStartsAtZero)
{
    ScriptFile script("[Install]\r\nRegFiles1=a.dll\r\n");
    RegisterComponents();
    EXPECT_TRUE(g_registered.empty());

    ScriptFile gap("[Install]\r\nRegFiles0=a.dll\r\nRegFiles2=sub\\c.dll\r\n");
    RegisterComponents();
    EXPECT_EQ(std::vector<std::string>{Installed("a.dll")}, g_registered);
}

// Only files of the install tree are loaded: a listed path that leads out of
// it is reported (message 42) and skipped, even where a file is there.
TEST_F(RegisterComponentsLoop, PathsOutOfTheInstallTreeAreNotLoaded)
{
    testing_support::ScratchDir outside(L"outside");
    ASSERT_TRUE(testing_support::WriteFileBytes(outside / L"x.dll", "x"));
    const std::string climb = "..\\" + Ansi(outside.Path()).substr(Ansi(dir_.Path()).rfind('\\') + 1) + "\\x.dll";
    for (const std::string& listed : {climb, "sub\\..\\" + climb}) {
        g_registered.clear();
        ScriptFile script("[Install]\r\nRegFiles0=" + listed + "\r\nRegFiles1=a.dll\r\n");
        testing_support::BoxAnswerer boxes;
        RegisterComponents();
        EXPECT_EQ(std::vector<std::string>{Installed("a.dll")}, g_registered) << listed;
        EXPECT_EQ(1u, boxes.Count()) << listed;
    }
}
