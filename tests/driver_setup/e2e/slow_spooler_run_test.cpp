// A spooler that takes its time to stop while it holds a PCP file: Setup64.exe
// waits for it, replaces the file and starts the spooler again.
#include "setup_e2e_fixture.h"
#include "spooler_stand_in.h"

using namespace testing_support;

namespace e2e {
namespace {

using SlowSpoolerRun = DriverSetupRun;

TEST_F(SlowSpoolerRun, PcpFileHeldBySpoolerSlowToStopIsReplacedAndSpoolerRunsAgain)
{
    DriverPackage& package = MakePackage();
    const std::wstring source = package.PathOf(L"x64\\spool\\PCPCardUI64.dll");
    const std::wstring target = NativeSystemDir() + L"\\PCPCardUI64.dll";
    ASSERT_TRUE(WriteFileBytes(target, "older copy"));
    ASSERT_TRUE(SetFileWriteTime(target, ShiftTime(FileWriteTime(source), -3600)));
    {
        // It holds the file until it has stopped, about a second after the request.
        SpoolerStandIn standIn(STUBBORN_SPOOLER, L"slow \"" + target + L"\"");
        ASSERT_TRUE(standIn.IsRunning());
        ASSERT_FALSE(CopyFileW(source.c_str(), target.c_str(), FALSE)) << "the stand-in does not hold the file";
        ExpectSuccess(RunSetup64(package, L"\"" + package.Dir() + L"\" OS2"));
        EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState()) << "spooler not started again";
        ASSERT_TRUE(standIn.Restore());
    }
    EXPECT_EQ(ReadFileBytes(source), ReadFileBytes(target));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState());
}

}  // namespace
}  // namespace e2e
