// What install.exe does with the faults pkgcheck reports in an install
// script: the real program walked through its wizard, and the uninstall's
// [Reg] processing run here with install's own code.
#include <gtest/gtest.h>

#include "box_answerer.h"
#include "install_wizard_driver.h"
#include "pkgcheck_run.h"
#include "registry_fixture.h"
#include "registry_removal.h"
#include "removal_fixture.h"
#include "settings_fixture.h"
#include "wizard_e2e_fixture.h"

using namespace installer_testing;
using namespace pkgcheck_testing;
using namespace testing_support;
using namespace wizard_testing;

namespace {

const wchar_t kInstallKey[] = L"PkgcheckParity";

std::string Script(const std::string& installLines)
{
    return "[Install]\r\nTitle=Pkgcheck Parity Tool\r\nFolder=Pkgcheck Parity\r\nInstallKey=PkgcheckParity\r\n" +
           installLines + "[Group]\r\n1=Read Me,readme.txt\r\n2=Uninstall,install.exe,/r\r\n";
}

class InstallParity : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shell_.Ready());
        ASSERT_TRUE(medium_.Ready());
        // The programs every medium gets, so that pkgcheck and install see
        // the same tree.
        ASSERT_TRUE(medium_.Write(L"Setup.exe", "setup"));
        ASSERT_TRUE(medium_.Write(L"x64\\Setup64.exe", "setup64"));
        ASSERT_TRUE(medium_.Write(L"readme.txt", "read me"));
    }

    CheckRun CheckMedium() const { return RunPkgcheck({medium_.Dir()}); }

    // The wizard with its defaults into a scratch folder; true when it completed.
    bool Install()
    {
        RunningProgram program;
        if (!medium_.Start(&program))
            return false;
        WizardChoices choices;
        choices.destination = Target();
        const WizardWalk walk = WalkInstallWizard(program, choices, kWaitMs);
        DWORD code = 0;
        EXPECT_TRUE(program.WaitForExit(kWaitMs, &code));
        return walk.completed;
    }

    std::wstring Target() const { return target_ / L"Tool"; }

    ScopedShellFolders shell_;
    Medium medium_;
    ScratchDir target_{L"parity"};
    ScopedUninstallEntry entry_{kInstallKey};
};

TEST_F(InstallParity, EntryAfterAGapIsNotInstalled)
{
    ASSERT_TRUE(medium_.Write(L"extra.txt", "extra"));
    ASSERT_TRUE(medium_.Write(L"install.INF", Script("1=readme.txt\r\n3=extra.txt\r\n")));
    const CheckRun check = CheckMedium();
    EXPECT_EQ((std::vector<std::string>{"install.INF:6: error: [Install] entry 3 follows a gap at 2 and is never read",
                                        "install.INF:5: warning: [Install] entry 1 is no program in the install folder: entry 1 is the target of the title, desktop and Startup shortcuts, and the uninstall stops when it cannot remove it; list the main program first"}),
              check.lines);

    ASSERT_TRUE(Install());
    EXPECT_TRUE(FileExists(JoinPaths(Target(), L"readme.txt")));
    EXPECT_FALSE(FileExists(JoinPaths(Target(), L"extra.txt")));
}

// 1001 files with the script and the programs: the collection fails and
// CopyAll copies none of them.
TEST_F(InstallParity, CopyAllOfOverAThousandFilesCopiesNothing)
{
    ASSERT_TRUE(medium_.Write(L"install.INF", Script("CopyAll=1\r\n1=readme.txt\r\n")));
    for (int i = 0; i < 996; ++i)
        ASSERT_TRUE(medium_.Write(L"data\\f" + std::to_wstring(i) + L".txt", "x"));
    const CheckRun check = CheckMedium();
    EXPECT_EQ((std::vector<std::string>{"install.INF:6: warning: [Install] entry 1 is no program in the install folder: entry 1 is the target of the title, desktop and Startup shortcuts, and the uninstall stops when it cannot remove it; list the main program first",
                                        "install.INF:5: error: CopyAll=1, but the medium holds 1001 files, over 1000: "
                                        "install copies none of them"}),
              check.lines);

    ASSERT_TRUE(Install());
    EXPECT_TRUE(FileExists(JoinPaths(Target(), L"readme.txt")));
    EXPECT_FALSE(FileExists(JoinPaths(Target(), L"data\\f0.txt")));
}

// The uninstall's [Reg] processing on the entries pkgcheck refuses: each
// gets message 27, and an entry pkgcheck accepts gets none.
struct RegCase {
    const char* name;
    const char* entry;
    bool refused;
};

class RegParity : public RemovalTest, public ::testing::WithParamInterface<RegCase> {};

TEST_P(RegParity, MessageTwentySevenWhereTheCheckerSaysSo)
{
    FixturePackage package;
    ASSERT_TRUE(package.Ready());
    ASSERT_TRUE(package.Replace(L"installE.INF", "1=HKEY_CURRENT_USER\\Software\\Sample Card Printer",
                                std::string("1=") + GetParam().entry));
    const CheckRun check = package.Check();
    const bool reported = check.lines.size() == 1 && check.lines[0].find("message 27") != std::string::npos;
    EXPECT_EQ(GetParam().refused, reported) << (check.lines.empty() ? "" : check.lines[0]);

    ScriptFile script(std::string("[Install]\r\nTitle=Removal Test Product\r\n[Reg]\r\n1=") + GetParam().entry +
                      "\r\n");
    BoxAnswerer boxes;
    RemoveScriptRegistryKeys();
    const bool shown = boxes.Seen().size() == 1 && boxes.Seen()[0].text == kAbnormalRegText;
    EXPECT_EQ(GetParam().refused, shown) << Describe(boxes.Seen());
}

INSTANTIATE_TEST_SUITE_P(
    Entries, RegParity,
    ::testing::Values(RegCase{"LowerCaseRoot", "hkey_current_user\\Software\\PkgcheckParityReg", true},
                      RegCase{"OtherRoot", "HKEY_USERS\\.DEFAULT\\Software\\PkgcheckParityReg", true},
                      RegCase{"AbbreviatedRoot", "HKCU\\Software\\PkgcheckParityReg", true},
                      RegCase{"RootOnly", "HKEY_CURRENT_USER", true},
                      RegCase{"RootAndSeparator", "HKEY_LOCAL_MACHINE\\", true},
                      RegCase{"OwnKey", "HKEY_CURRENT_USER\\Software\\PkgcheckParityReg", false}),
    [](const ::testing::TestParamInfo<RegCase>& info) { return std::string(info.param.name); });

}  // namespace
