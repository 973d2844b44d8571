// The sample package installed end to end from a medium folder: install.exe,
// Setup.exe, x64\Setup64.exe, the package files, CardTool.exe and CardReg.dll.
// The wizard is walked as a user would; then every installed file, shortcut,
// registry value and the driver setup opened at the end are checked. The run
// speaks the language of the test registration (INSTALL_TEST_LANGUAGE).
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include "expected_catalogue.h"
#include "install_wizard_driver.h"
#include "resource_ids.h"
#include "sample_medium.h"
#include "sample_scripts.h"
#include "shell_link_reader.h"
#include "wizard_e2e_fixture.h"

using namespace installer_testing;
using namespace testing_support;
using namespace wizard_testing;
using copy_links_testing::LinkContents;
using copy_links_testing::ReadShellLink;

namespace {

const wchar_t kComponentKey[] = L"Software\\CardPrinterSample\\Component";
const wchar_t kDriverSuccess[] = L"The Sample Card Printer Driver has been successfully installed.";

class SampleInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!LanguageOfThisRun(&language_))
            language_ = English;
        ASSERT_EQ(InfoOf(language_).codePage, GetACP()) << "the run's locale did not take";
        script_ = &kSampleScripts[language_];
        ASSERT_TRUE(shell_.Ready());
        ASSERT_TRUE(medium_.Complete());
        // A read-only source: the installed copy gets normal attributes.
        ASSERT_TRUE(SetFileAttributesW(medium_.PathOf(L"readme.txt").c_str(), FILE_ATTRIBUTE_READONLY));
        installDir_ = target_ / script_->folder;
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kComponentKey);
        CoInitialize(nullptr);
    }

    void TearDown() override
    {
        CoUninitialize();
        SetFileAttributesW(medium_.PathOf(L"readme.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(windowsFile_.c_str());
        DeleteFileW(systemFile_.c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kComponentKey);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\CardPrinterSample");
    }

    std::wstring Text(UINT id) { return ExpectedText(id, language_); }
    std::wstring Installed(const std::wstring& relative) { return installDir_ + L"\\" + relative; }

    void ExpectLink(const std::wstring& link, const std::wstring& target, const std::wstring& arguments,
                    const std::wstring& workingDir, const std::wstring& iconFile, int iconIndex)
    {
        LinkContents contents;
        ASSERT_TRUE(ReadShellLink(link, &contents)) << "no shortcut " << ToCodePage(link, CP_UTF8);
        UINT cp = GetACP();
        EXPECT_EQ(target, FromCodePage(contents.target, cp));
        EXPECT_EQ(arguments, FromCodePage(contents.arguments, cp));
        EXPECT_EQ(workingDir, FromCodePage(contents.workingDir, cp));
        if (!iconFile.empty()) {
            EXPECT_EQ(iconFile, FromCodePage(contents.iconFile, cp));
            EXPECT_EQ(iconIndex, contents.iconIndex);
        }
    }

    Language language_ = English;
    const SampleScript* script_ = nullptr;
    ScopedShellFolders shell_;
    SampleMedium medium_{SETUP_EXE, SETUP64_EXE, {INSTALL_EXE, CARD_TOOL_EXE, CARD_REG_DLL}};
    ScratchDir target_{L"target"};
    std::wstring installDir_;
    ScopedUninstallEntry entry_{L"SampleCardPrinter"};
    std::wstring windowsFile_ = WindowsDirectory() + L"\\SampleCardPrinter.cfg";
    std::wstring systemFile_ = SystemDirectory() + L"\\SampleCardPrinterRt32.dll";
};

TEST_F(SampleInstall, FromTheMediumToTheOpenedDriverSetup)
{
    RunningProgram install;
    ASSERT_TRUE(install.Start(L"\"" + medium_.PathOf(L"install.exe") + L"\"", medium_.Dir()));
    WizardChoices choices;
    choices.destination = installDir_;
    choices.desktopIcon = true;
    WizardWalk walk = WalkInstallWizard(install, choices, kWaitMs);
    ASSERT_TRUE(walk.completed);

    // The wizard spoke the run's language and showed the script's texts.
    EXPECT_EQ(FormatWith(Text(IDS_INSTALL_CAPTION), script_->title), walk.sheetCaption);
    EXPECT_EQ(FormatWith(Text(IDS_DESTINATION_PROMPT), script_->title), walk.prompt);
    EXPECT_EQ(std::wstring(L"Programs\\") + script_->menu, walk.defaultGroup);
    EXPECT_EQ(Text(IDS_INSTALL_SUCCEEDED), walk.statusText);
    EXPECT_EQ(FormatWith(Text(IDS_UNINSTALL_MENU_HINT), script_->uninstall), walk.hintText);
    EXPECT_TRUE(walk.hintVisible);
    EXPECT_TRUE(walk.runBoxes.empty()) << ToCodePage(walk.runBoxes.empty() ? L"" : walk.runBoxes[0].text, CP_UTF8);
    EXPECT_EQ(Text(IDS_INSTALL_COMPLETED), walk.completion.text);
    EXPECT_EQ(script_->title, walk.completion.caption);

    // "Open" started the installed Setup.exe, which installs the driver.
    AnsweredRun driverRun = AnswerOpenedSetup(install.Id(), 120000);
    ASSERT_TRUE(driverRun.started) << "Setup.exe was not opened";
    EXPECT_TRUE(driverRun.ended);
    EXPECT_EQ(0u, driverRun.exitCode);
    ASSERT_EQ(1u, driverRun.boxes.size());
    if (language_ == English)
        EXPECT_EQ(kDriverSuccess, driverRun.boxes[0].text);
    DWORD installExit = 0;
    EXPECT_TRUE(install.WaitForExit(kWaitMs, &installExit));
    EXPECT_EQ(1u, installExit);

    // Every file, as on the medium and with normal attributes.
    for (const wchar_t* file : kSampleInstalledFiles) {
        EXPECT_EQ(ReadFileBytes(medium_.PathOf(file)), ReadFileBytes(Installed(file))) << ToCodePage(file, CP_UTF8);
        EXPECT_FALSE(IsReadOnly(Installed(file))) << ToCodePage(file, CP_UTF8);
    }
    EXPECT_EQ(ReadFileBytes(medium_.PathOf(script_->file)), ReadFileBytes(Installed(L"install.INF")));
    EXPECT_EQ(ReadFileBytes(medium_.PathOf(L"common\\CardPrinterTool.cfg")), ReadFileBytes(windowsFile_));
    EXPECT_EQ(ReadFileBytes(medium_.PathOf(L"x86\\downlevel\\CardPrinterRt32.dll")), ReadFileBytes(systemFile_));

    // The menu group, the desktop shortcut, read back as the shell reads them.
    std::wstring group = shell_.Programs() + L"\\" + script_->menu + L"\\";
    std::wstring folder = installDir_ + L"\\";
    ExpectLink(group + script_->tool + L".lnk", Installed(L"CardTool.exe"), L"", Installed(L"common"),
               Installed(L"CardTool.exe"), 0);
    ExpectLink(group + script_->readme + L".lnk", Installed(L"readme.txt"), L"", WindowsDirectory(), L"", 0);
    ExpectLink(group + script_->uninstall + L".lnk", Installed(L"install.exe"), L"/r", folder, L"", 0);
    ExpectLink(shell_.Desktop() + L"\\" + script_->title + L".lnk", Installed(L"CardTool.exe"), L"", folder, L"", 0);
    EXPECT_FALSE(FileExists(shell_.Startup() + L"\\" + script_->title + L".lnk"));

    // The entry in the list of installed programs.
    std::wstring key = UninstallEntryKey(L"SampleCardPrinter");
    EXPECT_EQ(script_->title, RegistryText(HKEY_LOCAL_MACHINE, key, L"DisplayName"));
    EXPECT_EQ(shell_.StartMenu() + L"\\Programs\\" + script_->menu, RegistryText(HKEY_LOCAL_MACHINE, key, L"MenuDir"));
    EXPECT_EQ(L"\"" + Installed(L"install.exe") + L"\" /r", RegistryText(HKEY_LOCAL_MACHINE, key, L"UninstallString"));

    // CardReg.dll's DllRegisterServer ran.
    EXPECT_EQ(L"1", RegistryText(HKEY_LOCAL_MACHINE, kComponentKey, L"Registered"));
}

}  // namespace
