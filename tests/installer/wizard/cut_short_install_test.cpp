// An install cut short: the real install.exe killed at a sample of places in
// its run, then run again from the same medium. The second run must install
// every file whole, without a message, and the uninstall after it must remove
// everything of the package.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "folder_listing.h"
#include "install_wizard_driver.h"
#include "uninstall_checks.h"
#include "wizard_e2e_fixture.h"

using namespace testing_support;
using namespace wizard_testing;

namespace {

const wchar_t kInstallKey[] = L"CutShortTest";
const wchar_t kTitle[] = L"Cut Short Tool";
// Large enough that a copy takes long enough to be caught half way.
const size_t kLargeFileBytes = 48u << 20;

const char kScript[] =
    "[Install]\r\nTitle=Cut Short Tool\r\nFolder=Cut Short Tests\\Tool\r\nInstallKey=CutShortTest\r\n"
    "Menu=Cut Short Group\r\n1=app.exe\r\n2=large1.bin\r\n3=data\\notes.txt\r\n4=large2.bin\r\n"
    "[Group]\r\n1=App,app.exe\r\n2=Remove,install.exe,/r\r\n";

// The files of the medium that the run installs, by their names below the
// install folder (the script is installed as install.INF).
const wchar_t* const kInstalledFiles[] = {L"app.exe", L"data\\notes.txt", L"install.INF", L"install.exe",
                                          L"large1.bin", L"large2.bin"};

// Where the first run is killed: as soon as a name matching pattern shows in
// the install folder (or in the menu group).
struct KillPoint {
    const char* when;
    bool inMenu;
    const wchar_t* pattern;
};

const KillPoint kKillPoints[] = {
    {"copying itself (step 1)", false, L"install.exe*"},
    {"copying a large listed file (step 4)", false, L"large1.bin*"},
    {"copying the last listed file (step 6)", false, L"large2.bin*"},
    {"making the shortcuts (the last step)", true, L"*.lnk"},
};

bool Shows(const std::wstring& folder, const wchar_t* pattern)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

class CutShortInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shell_.Ready());
        ASSERT_TRUE(medium_.Ready());
        ASSERT_TRUE(medium_.Write(L"install.INF", kScript));
        ASSERT_TRUE(medium_.Write(L"app.exe", "application"));
        ASSERT_TRUE(medium_.Write(L"data\\notes.txt", "notes"));
        ASSERT_TRUE(medium_.Write(L"large1.bin", std::string(kLargeFileBytes, '1')));
        ASSERT_TRUE(medium_.Write(L"large2.bin", std::string(kLargeFileBytes, '2')));
    }

    // Walks the wizard in a second thread and kills the program when the
    // kill point shows; false when the run ended or stalled before it.
    bool RunUntilKilled(const KillPoint& point, const WizardChoices& choices, const std::wstring& installDir)
    {
        RunningProgram program;
        if (!medium_.Start(&program))
            return false;
        std::thread walker([&] { DriveInstallWizard(program, choices, kWaitMs); });
        const std::wstring folder = point.inMenu ? MenuDir() : installDir;
        bool caught = false;
        for (DWORD start = GetTickCount(); !program.HasExited() && GetTickCount() - start < kWaitMs;) {
            if (Shows(folder, point.pattern)) {
                caught = TerminateProcess(program.Handle(), 0xDEAD) != FALSE;
                break;
            }
        }
        program.Terminate();
        walker.join();
        return caught;
    }

    std::wstring MenuDir() const { return shell_.Programs() + L"\\Cut Short Group"; }

    void ExpectInstalledWhole(const std::wstring& installDir)
    {
        for (const wchar_t* file : kInstalledFiles) {
            const std::string installed = ReadFileBytes(installDir + L"\\" + file);
            EXPECT_TRUE(installed == ReadFileBytes(medium_ / file))
                << ToCodePage(file, CP_UTF8) << " holds " << installed.size() << " other bytes";
        }
        std::vector<std::wstring> files = FilesBelow(installDir);
        std::sort(files.begin(), files.end());
        EXPECT_EQ(std::vector<std::wstring>(std::begin(kInstalledFiles), std::end(kInstalledFiles)), files);
        EXPECT_TRUE(FileExists(MenuDir() + L"\\App.lnk"));
        EXPECT_TRUE(FileExists(MenuDir() + L"\\Remove.lnk"));
    }

    ScopedShellFolders shell_;
    Medium medium_;
    ScratchDir target_{L"cut"};
    installer_testing::ScopedUninstallEntry entry_{kInstallKey};
    uninstall_testing::ScopedPendingDeletions pending_;
};

}  // namespace

TEST_F(CutShortInstall, KilledRunIsCompletedByTheNextAndUninstalledWhole)
{
    int n = 0;
    for (const KillPoint& point : kKillPoints) {
        SCOPED_TRACE(point.when);
        WizardChoices choices;
        choices.destination = target_ / (L"Tool" + std::to_wstring(++n));
        ASSERT_TRUE(RunUntilKilled(point, choices, choices.destination)) << "the run ended before the kill";

        RunningProgram again;
        ASSERT_TRUE(medium_.Start(&again));
        const WizardWalk walk = WalkInstallWizard(again, choices, kWaitMs);
        DWORD code = 0;
        EXPECT_TRUE(again.WaitForExit(kWaitMs, &code));
        ASSERT_TRUE(walk.completed);
        EXPECT_TRUE(walk.runBoxes.empty()) << ToCodePage(walk.runBoxes[0].text, CP_UTF8);
        ExpectInstalledWhole(choices.destination);

        const uninstall_testing::UninstallResult removal = uninstall_testing::RunUninstallToTheEnd(
            RegisteredUninstallCommand(kInstallKey), uninstall_testing::UninstallCaption(kTitle));
        ASSERT_EQ("", removal.failure);
        EXPECT_TRUE(removal.boxes.empty()) << ToCodePage(removal.boxes[0].text, CP_UTF8);
        EXPECT_EQ(std::wstring(kTitle) + L" has been successfully uninstalled.", removal.status);
        EXPECT_FALSE(DirectoryExists(choices.destination));
        EXPECT_FALSE(DirectoryExists(MenuDir()));
        EXPECT_FALSE(UninstallEntryExists(kInstallKey));
    }
}
