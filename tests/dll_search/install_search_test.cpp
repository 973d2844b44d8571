// install.exe from a medium with planted DLLs beside it, through its wizard
// to completion (the driver setup it opens answered too), then the uninstall
// from the registered command with the planted DLLs beside the installed
// program: none of them loads. Windows Vista takes the way without the
// restricted search. An unprotected probe started from the medium first shows
// that the planted DLLs would load.
#include <gtest/gtest.h>

#include <memory>

#include "install_wizard_driver.h"
#include "planted_dlls.h"
#include "sample_medium.h"
#include "sample_scripts.h"
#include "uninstall_checks.h"
#include "wizard_e2e_fixture.h"

using namespace dll_search_testing;
using namespace testing_support;
using namespace uninstall_testing;
using namespace wizard_testing;

namespace {

const wchar_t kInstallKey[] = L"SampleCardPrinter";
const wchar_t kComponentKey[] = L"Software\\CardPrinterSample\\Component";

class InstallDllSearch : public ::testing::TestWithParam<const wchar_t*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shell_.Ready());
        ASSERT_TRUE(medium_.Complete());
        if (GetParam())
            version_ = std::make_unique<WineVersionFor>(L"install.exe", GetParam());
        DeleteFileW(SystemDirectory().append(L"\\install.exe").c_str());
    }

    void TearDown() override
    {
        DeleteFileW((WindowsDirectory() + L"\\SampleCardPrinter.cfg").c_str());
        DeleteFileW((SystemDirectory() + L"\\SampleCardPrinterRt32.dll").c_str());
        DeleteFileW(SystemDirectory().append(L"\\install.exe").c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kComponentKey);
    }

    ScopedPendingDeletions pending_;
    ScopedShellFolders shell_;
    SampleMedium medium_{SETUP_EXE, SETUP64_EXE, {INSTALL_EXE, CARD_TOOL_EXE, CARD_REG_DLL}};
    ScratchDir target_{L"target"};
    std::wstring installDir_ = target_ / kSampleScripts[English].folder;
    installer_testing::ScopedUninstallEntry entry_{kInstallKey};
    std::unique_ptr<WineVersionFor> version_;
};

TEST_P(InstallDllSearch, PlantedDllsNeverLoadIntoInstallOrUninstall)
{
    PlantedDlls planted;
    ASSERT_TRUE(planted.PlantIn(medium_.Dir(), MARKER_DLL));
    ASSERT_NO_FATAL_FAILURE(ExpectProbeLoadsEveryMarker(planted, medium_.Dir(), SEARCH_PROBE));

    RunningProgram install;
    ASSERT_TRUE(install.Start(L"\"" + medium_.PathOf(L"install.exe") + L"\"", medium_.Dir()));
    WizardChoices choices;
    choices.destination = installDir_;
    ASSERT_TRUE(WalkInstallWizard(install, choices, kWaitMs).completed);
    AnsweredRun driverRun = AnswerOpenedSetup(install.Id(), 120000);
    EXPECT_TRUE(driverRun.ended);
    DWORD exitCode = 0;
    ASSERT_TRUE(install.WaitForExit(kWaitMs, &exitCode));
    EXPECT_EQ(std::vector<std::wstring>(), planted.Loaded()) << "install: " << planted.Report();

    planted.Clear();
    ASSERT_TRUE(planted.PlantIn(installDir_, MARKER_DLL));
    // The markers are files the install did not bring: the uninstall asks
    // before it deletes each of them.
    UninstallResult result =
        RunUninstallToTheEnd(RegisteredUninstallCommand(kInstallKey), L"", std::vector<int>(100, IDYES));
    std::string boxes;
    for (const auto& box : result.boxes)
        boxes += testing_support::ToCodePage(box.text, CP_UTF8) + "\n";
    ASSERT_EQ("", result.failure) << boxes;
    EXPECT_FALSE(UninstallEntryExists(kInstallKey));
    EXPECT_EQ(std::vector<std::wstring>(), planted.Loaded()) << "uninstall: " << planted.Report();
}

// nullptr: the prefix's Windows 7 SP1, which restricts the search.
INSTANTIATE_TEST_SUITE_P(Windows, InstallDllSearch, ::testing::Values(nullptr, L"vista"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                             return std::string(info.param ? "vista" : "windows_7");
                         });

}  // namespace
