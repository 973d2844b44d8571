// Runs that fail: each shows one message box with the code's text, from the
// program that met the failure, and ends with that code as exit code.
#include "setup_e2e_fixture.h"

#include "window_driver.h"

using namespace testing_support;

namespace e2e {
namespace {

using FailureRun = DriverSetupRun;

const wchar_t kAlreadyRunning[] = L"This tool is already running.";

// A failure of Setup64.exe whose text begins with the general text of code
// (the detail line that may follow depends on the platform's error).
void ExpectSetup64FailureWith(const AnsweredRun& run, int code, const std::wstring& textStart)
{
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(static_cast<DWORD>(code), run.exitCode);
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ(0u, run.boxes[0].text.find(textStart)) << ToCodePage(run.boxes[0].text, CP_UTF8);
    EXPECT_EQ(0, lstrcmpiW(L"Setup64.exe", run.boxes[0].program.c_str()));
}

// Points the explicit-folder group of the 64-bit entry at target.
void SetExplicitTarget(DriverPackage& package, const std::wstring& target)
{
    ASSERT_TRUE(package.SetIniValue(L"Depend64", L"Name1", (L"ToolFiles, 1:" + target + L", common").c_str()));
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

TEST_F(FailureRun, Setup64WithoutExactlyTwoArgumentsEndsWithMinus6)
{
    DriverPackage& package = MakePackage();
    ExpectOutcome(RunSetup64(package, L""), -6, GeneralFailureText(-6), L"Setup64.exe");
    ExpectOutcome(RunSetup64(package, Quoted(package.Dir()) + L" OS2 extra"), -6,
                  GeneralFailureText(-6), L"Setup64.exe");
}

// An empty package folder would make the configuration path a file in the root
// of the current drive; arguments longer than their buffers would be cut.
TEST_F(FailureRun, Setup64RefusesEmptyOrOverlongArguments)
{
    DriverPackage& package = MakePackage();
    const std::wstring folder = Quoted(package.Dir());
    const std::wstring refused[] = {
        L"\"\" OS2",
        folder + L" \"\"",
        Quoted(package.Dir() + L"\\" + std::wstring(260, L'd')) + L" OS2",
        folder + L" OS" + std::wstring(50, L'2'),
    };
    for (const std::wstring& arguments : refused) {
        SCOPED_TRACE(ToCodePage(arguments, CP_UTF8));
        ExpectOutcome(RunSetup64(package, arguments), -6, GeneralFailureText(-6), L"Setup64.exe");
    }
}

TEST_F(FailureRun, Setup64WithoutConfigurationFileReportsTheMissingDriverList)
{
    DriverPackage& package = MakePackage();
    ScratchDir empty(L"nocfg");
    ExpectOutcome(RunSetup64(package, Quoted(empty.Path()) + L" OS2"), -18, GeneralFailureText(-18),
                  L"Setup64.exe");
}

TEST_F(FailureRun, SecondCopyWhileTheFirstShowsItsBoxSaysAlreadyRunning)
{
    DriverPackage& package = MakePackage();
    RunningProgram first;
    ASSERT_TRUE(first.Start(Quoted(package.SetupPath())));
    DWORD owner = 0;
    HWND box = WaitForDialogInTree(first.Id(), kRunTimeoutMs, &owner);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(std::wstring(kSuccessText), MessageBoxText(box));

    ExpectOutcome(RunSetup(package), -2, kAlreadyRunning, L"Setup.exe");
    ExpectOutcome(RunSetup64(package, Quoted(package.Dir()) + L" OS2"), -2, kAlreadyRunning,
                  L"Setup64.exe");

    // The first run goes on undisturbed.
    AnsweredRun rest;
    rest.boxes.push_back(AnswerBox(box, owner));
    AnswerBoxesUntilExit(first.Handle(), first.Id(), kRunTimeoutMs, &rest);
    ASSERT_TRUE(rest.ended);
    EXPECT_EQ(0u, rest.exitCode);
    EXPECT_EQ(1u, rest.boxes.size());
}

// A refused copy lets go of the mutex before it shows its box: once the first
// run has ended, nothing is left that would refuse the next one.
TEST_F(FailureRun, RefusedCopyHoldsNoMutexWhileItShowsItsBox)
{
    DriverPackage& package = MakePackage();
    const struct {
        const wchar_t* mutexName;
        std::wstring commandLine;
    } copies[] = {
        {L"Printer Device Driver Installer", Quoted(package.SetupPath())},
        {L"Printer Device Driver Installer64",
         Quoted(package.Setup64Path()) + L" " + Quoted(package.Dir()) + L" OS2"},
    };
    for (const auto& copy : copies) {
        SCOPED_TRACE(ToCodePage(copy.mutexName, CP_UTF8));
        // This test process plays the first run.
        HANDLE first = CreateMutexW(nullptr, TRUE, copy.mutexName);
        ASSERT_NE(nullptr, first);
        RunningProgram second;
        ASSERT_TRUE(second.Start(copy.commandLine));
        DWORD owner = 0;
        HWND box = WaitForDialogInTree(second.Id(), kRunTimeoutMs, &owner);
        ReleaseMutex(first);
        CloseHandle(first);
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(std::wstring(kAlreadyRunning), MessageBoxText(box));

        HANDLE left = OpenMutexW(SYNCHRONIZE, FALSE, copy.mutexName);
        EXPECT_EQ(nullptr, left) << "the refused copy still holds the mutex";
        if (left)
            CloseHandle(left);

        AnsweredRun rest;
        rest.boxes.push_back(AnswerBox(box, owner));
        AnswerBoxesUntilExit(second.Handle(), second.Id(), kRunTimeoutMs, &rest);
        ASSERT_TRUE(rest.ended);
        EXPECT_EQ(static_cast<DWORD>(-2), rest.exitCode);
        EXPECT_EQ(1u, rest.boxes.size());
    }
}

TEST_F(FailureRun, MissingConfigurationFileEndsWithMinus4)
{
    DriverPackage& package = MakePackage();
    ASSERT_TRUE(DeleteFileW(package.IniPath().c_str()));
    ExpectOutcome(RunSetup(package), -4, GeneralFailureText(-4), L"Setup.exe");
}

TEST_F(FailureRun, NoEntryForThisWindowsEndsWithMinus17)
{
    DriverPackage& package = MakePackage();
    // Only the 32-bit entry is left, which holds no 64-bit key.
    ASSERT_TRUE(package.SetIniValue(L"OS", L"Entry", L"1"));
    ExpectOutcome(RunSetup(package), -17, GeneralFailureText(-17), L"Setup.exe");
}

TEST_F(FailureRun, PackageWithoutSetup64EndsWithMinus5)
{
    DriverPackage& package = MakePackage(false);
    ExpectOutcome(RunSetup(package), -5, GeneralFailureText(-5), L"Setup.exe");
    EXPECT_TRUE(DriverStoreEntriesWith("Sample Card Printer").empty());
}

TEST_F(FailureRun, ConfigurationErrorOfSetup64IsShownOnceAndPassedOn)
{
    DriverPackage& package = MakePackage();
    ASSERT_TRUE(package.SetIniValue(L"Depend64", L"Name1", nullptr));
    ExpectOutcome(RunSetup(package), -26, GeneralFailureText(-26), L"Setup64.exe");
}

TEST_F(FailureRun, DriverPackageRefusedEndsWithMinus33BeforeAnyFileIsCopied)
{
    DriverPackage& package = MakePackage();
    ASSERT_TRUE(package.SetIniValue(L"Driver64", L"WDMInf", L"NoSuch.inf"));
    ExpectSetup64FailureWith(RunSetup(package), -33, GeneralFailureText(-33) + L"\r\n(Detailed: 0x");
    EXPECT_FALSE(DirectoryExists(kToolFolder));
}

TEST_F(FailureRun, FailingExplicitFolderGroupShowsTheWindowsErrorAsDetail)
{
    DriverPackage& package = MakePackage();
    ASSERT_TRUE(DeleteFileW(package.PathOf(L"common\\CardPrinterTool.cfg").c_str()));
    ExpectOutcome(RunSetup(package), -36,
                  GeneralFailureText(-36) + L"\r\n(Detailed: 0x00000002)", L"Setup64.exe");
    // The other file of the group was still copied; the driver package stays added.
    EXPECT_TRUE(FileExists(JoinPaths(kToolFolder, L"CardPrinterReadme.txt")));
    EXPECT_EQ(1u, DriverStoreEntriesWith("Sample Card Printer (x64)").size());
}

TEST_F(FailureRun, ExplicitFolderBelowAMissingFolderEndsWithMinus36)
{
    DriverPackage& package = MakePackage();
    const std::wstring target = package.PathOf(L"missing\\CardPrinter");
    SetExplicitTarget(package, target);
    // Only the last level of a target folder is ever created.
    ExpectSetup64FailureWith(RunSetup(package), -36, GeneralFailureText(-36));
    EXPECT_FALSE(DirectoryExists(target));
}

TEST_F(FailureRun, ExplicitFolderThatIsAFileEndsWithMinus36AndItsCreateError)
{
    DriverPackage& package = MakePackage();
    const std::wstring target = package.PathOf(L"CardPrinter");
    ASSERT_TRUE(WriteFileBytes(target, "not a folder"));
    SetExplicitTarget(package, target);
    ExpectOutcome(RunSetup(package), -36,
                  GeneralFailureText(-36) + L"\r\n(Detailed: 0x000000b7)", L"Setup64.exe");
    EXPECT_EQ("not a folder", ReadFileBytes(target));
}

}  // namespace
}  // namespace e2e
