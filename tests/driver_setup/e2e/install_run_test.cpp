// Successful runs of the sample package in the 64-bit test prefix: Setup.exe
// hands the job to x64\Setup64.exe, which adds the driver package to the
// driver store, copies the dependent-file groups and starts the spooler.
#include "setup_e2e_fixture.h"

using namespace testing_support;

namespace e2e {
namespace {

using InstallRun = DriverSetupRun;

std::string SampleFile(const std::wstring& relative)
{
    return ReadFileBytes(JoinPaths(SAMPLE_PACKAGE_DIR, relative));
}

void ExpectCopyOf(const std::wstring& sampleRelative, const std::wstring& target)
{
    EXPECT_TRUE(FileExists(target)) << ToCodePage(target, CP_UTF8);
    EXPECT_EQ(SampleFile(sampleRelative), ReadFileBytes(target)) << ToCodePage(target, CP_UTF8);
}

TEST_F(InstallRun, AddsThe64BitDriverPackageCopiesEveryGroupAndReportsSuccess)
{
    DriverPackage& package = MakePackage();
    ASSERT_TRUE(SetSpoolerRunning(false));
    ExpectSuccess(RunSetup(package));

    const std::vector<std::wstring> entries = DriverStoreEntriesWith("Sample Card Printer");
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(SampleFile(L"x64\\CardPrinter.inf"), ReadFileBytes(entries[0]));

    const std::wstring native = NativeSystemDir();
    const std::wstring wow64 = Wow64SystemDir();
    ExpectCopyOf(L"common\\CardPrinterTool.cfg", JoinPaths(kToolFolder, L"CardPrinterTool.cfg"));
    ExpectCopyOf(L"common\\CardPrinterReadme.txt", JoinPaths(kToolFolder, L"CardPrinterReadme.txt"));
    ExpectCopyOf(L"x64\\spool\\PCPCardUI64.dll", native + L"\\PCPCardUI64.dll");
    ExpectCopyOf(L"x64\\spool\\CardPrinterRes64.dll", native + L"\\CardPrinterRes64.dll");
    ExpectCopyOf(L"x86\\spool\\PCPCardUI32.dll", wow64 + L"\\PCPCardUI32.dll");
    ExpectCopyOf(L"x86\\spool\\CardPrinterRes32.dll", wow64 + L"\\CardPrinterRes32.dll");
    ExpectCopyOf(L"x64\\downlevel\\CardPrinterRt64.dll", native + L"\\downlevel\\CardPrinterRt64.dll");
    ExpectCopyOf(L"x86\\downlevel\\CardPrinterRt32.dll", wow64 + L"\\downlevel\\CardPrinterRt32.dll");
    // The 32-bit files never go to the 64-bit system folder.
    EXPECT_FALSE(FileExists(native + L"\\PCPCardUI32.dll"));
    EXPECT_FALSE(FileExists(native + L"\\downlevel\\CardPrinterRt32.dll"));

    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState());
}

TEST_F(InstallRun, HandsOverToSetup64EvenWhenThe32BitEntryWouldFail)
{
    DriverPackage& package = MakePackage();
    // Both would end a 32-bit run with a configuration error.
    ASSERT_TRUE(package.SetIniValue(L"Driver32", L"WDMInf", nullptr));
    ASSERT_TRUE(package.SetIniValue(L"Depend32", L"Name1", nullptr));
    ExpectSuccess(RunSetup(package));
    EXPECT_EQ(1u, DriverStoreEntriesWith("Sample Card Printer (x64)").size());
}

TEST_F(InstallRun, PackageFolderWithBlanksIsHandedOverWhole)
{
    DriverPackage& package = MakePackage(true, L"card printer pkg ");
    ExpectSuccess(RunSetup(package));
    EXPECT_TRUE(FileExists(NativeSystemDir() + L"\\PCPCardUI64.dll"));
}

TEST_F(InstallRun, RunAgainReplacesOlderFilesKeepsNewerOnesAndNeverTouchesDownlevel)
{
    DriverPackage& package = MakePackage();
    ExpectSuccess(RunSetup(package));

    const std::wstring native = NativeSystemDir();
    const std::wstring olderTool = JoinPaths(kToolFolder, L"CardPrinterTool.cfg");
    const std::wstring newerReadme = JoinPaths(kToolFolder, L"CardPrinterReadme.txt");
    const std::wstring olderSpool = native + L"\\PCPCardUI64.dll";
    const std::wstring olderDownlevel = native + L"\\downlevel\\CardPrinterRt64.dll";
    const auto rewrite = [&](const std::wstring& target, const wchar_t* source, LONGLONG shift) {
        ASSERT_TRUE(WriteFileBytes(target, "local copy"));
        ASSERT_TRUE(SetFileWriteTime(target, ShiftTime(FileWriteTime(package.PathOf(source)), shift)));
    };
    rewrite(olderTool, L"common\\CardPrinterTool.cfg", -3600);
    rewrite(newerReadme, L"common\\CardPrinterReadme.txt", 3600);
    rewrite(olderSpool, L"x64\\spool\\PCPCardUI64.dll", -3600);
    rewrite(olderDownlevel, L"x64\\downlevel\\CardPrinterRt64.dll", -3600);

    ExpectSuccess(RunSetup(package));
    EXPECT_EQ(SampleFile(L"common\\CardPrinterTool.cfg"), ReadFileBytes(olderTool));
    EXPECT_EQ("local copy", ReadFileBytes(newerReadme));
    EXPECT_EQ(SampleFile(L"x64\\spool\\PCPCardUI64.dll"), ReadFileBytes(olderSpool));
    EXPECT_EQ("local copy", ReadFileBytes(olderDownlevel));
    // The driver store keeps one entry for the same INF.
    EXPECT_EQ(1u, DriverStoreEntriesWith("Sample Card Printer").size());
}

TEST_F(InstallRun, EmptyOrMissingProductNameLeavesTwoBlanksInTheSuccessText)
{
    const wchar_t expected[] = L"The  has been successfully installed.";
    for (const wchar_t* products : {L"", static_cast<const wchar_t*>(nullptr)}) {
        SCOPED_TRACE(products ? "empty Products" : "no Products");
        DriverPackage& package = MakePackage();
        ASSERT_TRUE(package.SetIniValue(L"Information", L"Products", products));
        ExpectSuccess(RunSetup(package), expected);
    }
}

}  // namespace
}  // namespace e2e
