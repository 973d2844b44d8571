// The sample package from the medium and back: installed through the wizard
// as a user does it (the driver setup it opens included), then removed
// through the command the install registered in the list of installed
// programs. The run speaks the language of the test registration
// (INSTALL_TEST_LANGUAGE), with the sample script of that language.
#include <gtest/gtest.h>

#include "expected_catalogue.h"
#include "install_wizard_driver.h"
#include "resource_ids.h"
#include "sample_medium.h"
#include "sample_scripts.h"
#include "uninstall_checks.h"
#include "wizard_e2e_fixture.h"

using namespace testing_support;
using namespace uninstall_testing;
using namespace wizard_testing;

namespace {

const wchar_t kInstallKey[] = L"SampleCardPrinter";
const wchar_t kComponentKey[] = L"Software\\CardPrinterSample\\Component";
// Named by [Reg] of the sample script; the package's program would write it.
const wchar_t kSettingsKey[] = L"Software\\Sample Card Printer";


class SampleRoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!LanguageOfThisRun(&language_))
            language_ = English;
        ASSERT_EQ(InfoOf(language_).codePage, GetACP()) << "the run's locale did not take";
        script_ = &kSampleScripts[language_];
        installDir_ = target_ / script_->folder;
        groupDir_ = shell_.Programs() + L"\\" + script_->menu;
        desktopLink_ = shell_.Desktop() + L"\\" + script_->title + L".lnk";
        ASSERT_TRUE(shell_.Ready());
        ASSERT_TRUE(medium_.Complete());
        DeleteFileW(SystemDirectory().append(L"\\install.exe").c_str());
    }

    void TearDown() override
    {
        DeleteFileW(systemFile_.c_str());
        DeleteFileW(windowsFile_.c_str());
        DeleteFileW(SystemDirectory().append(L"\\install.exe").c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kComponentKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    }

    // The wizard with a desktop shortcut, then the driver setup to its end.
    void InstallFromTheMedium()
    {
        RunningProgram install;
        ASSERT_TRUE(install.Start(L"\"" + medium_.PathOf(L"install.exe") + L"\"", medium_.Dir()));
        WizardChoices choices;
        choices.destination = installDir_;
        choices.desktopIcon = true;
        ASSERT_TRUE(WalkInstallWizard(install, choices, kWaitMs).completed);
        AnsweredRun driverRun = AnswerOpenedSetup(install.Id(), 120000);
        ASSERT_TRUE(driverRun.started) << "Setup.exe was not opened";
        ASSERT_TRUE(driverRun.ended);
        DWORD exitCode = 0;
        ASSERT_TRUE(install.WaitForExit(kWaitMs, &exitCode));
    }

    std::wstring Installed(const std::wstring& relative) const { return installDir_ + L"\\" + relative; }
    std::wstring Text(UINT id) const { return FormatWith(ExpectedText(id, language_), script_->title); }

    ScopedPendingDeletions pending_;
    ScopedShellFolders shell_;
    SampleMedium medium_{SETUP_EXE, SETUP64_EXE, {INSTALL_EXE, CARD_TOOL_EXE, CARD_REG_DLL}};
    Language language_ = English;
    const SampleScript* script_ = nullptr;
    ScratchDir target_{L"target"};
    std::wstring installDir_;
    std::wstring groupDir_;
    std::wstring desktopLink_;
    std::wstring windowsFile_ = WindowsDirectory() + L"\\SampleCardPrinter.cfg";
    std::wstring systemFile_ = SystemDirectory() + L"\\SampleCardPrinterRt32.dll";
    installer_testing::ScopedUninstallEntry entry_{kInstallKey};
};

}  // namespace

TEST_F(SampleRoundTrip, InstalledByTheWizardAndRemovedFromTheList)
{
    ASSERT_NO_FATAL_FAILURE(InstallFromTheMedium());
    for (const wchar_t* file : kSampleInstalledFiles)
        ASSERT_TRUE(FileExists(Installed(file))) << file;
    ASSERT_TRUE(FileExists(Installed(L"install.INF")));
    ASSERT_TRUE(FileExists(desktopLink_));
    ASSERT_TRUE(DirectoryExists(groupDir_));
    ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kComponentKey)) << "DllRegisterServer did not run";
    HKEY settings;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kSettingsKey) + L"\\Printer").c_str(),
                                             0, nullptr, 0, KEY_WRITE, nullptr, &settings, nullptr));
    RegCloseKey(settings);

    UninstallResult result =
        RunUninstallToTheEnd(RegisteredUninstallCommand(kInstallKey), Text(IDS_UNINSTALL_CAPTION));
    ASSERT_EQ("", result.failure);
    EXPECT_EQ(Text(IDS_UNINSTALL_CONFIRM), result.confirmation.text);
    EXPECT_EQ(script_->title, result.confirmation.caption);
    EXPECT_TRUE(result.boxes.empty()) << ToCodePage(result.boxes.empty() ? L"" : result.boxes[0].text, CP_UTF8);
    EXPECT_EQ(Text(IDS_UNINSTALL_SUCCEEDED), result.status);
    EXPECT_EQ(1u, result.exitCode);

    for (const wchar_t* file : kSampleInstalledFiles)
        EXPECT_FALSE(FileExists(Installed(file))) << file;
    EXPECT_FALSE(FileExists(Installed(L"install.INF")));
    EXPECT_FALSE(DirectoryExists(installDir_));
    EXPECT_TRUE(DirectoryExists(target_.Path()));
    EXPECT_FALSE(FileExists(windowsFile_));
    EXPECT_TRUE(FileExists(systemFile_)) << "a file in the system directory is shared and stays";
    EXPECT_FALSE(DirectoryExists(groupDir_));
    EXPECT_TRUE(DirectoryExists(shell_.Programs()));
    EXPECT_FALSE(FileExists(desktopLink_));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kComponentKey)) << "DllUnregisterServer did not run";
    EXPECT_FALSE(UninstallEntryExists(kInstallKey));
    EXPECT_FALSE(FileExists(SystemDirectory() + L"\\SampleCardPrinter.tmp"));
    ExpectScheduledForDeletion(L"install.exe");
}
