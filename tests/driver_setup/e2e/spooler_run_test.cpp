// Files in use during a run. The test holds an installed file open without
// write sharing, as the running spooler holds its driver files, and lets it
// go only when it sees the spooler stopped.
#include "setup_e2e_fixture.h"
#include "spooler_stand_in.h"

using namespace testing_support;

namespace e2e {
namespace {

const DWORD kSpoolerPollMs = 5;

class FileHeldBySpooler {
public:
    explicit FileHeldBySpooler(const std::wstring& path)
    {
        file_ = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (file_ != INVALID_HANDLE_VALUE && stop_)
            watcher_ = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
    }
    FileHeldBySpooler(const FileHeldBySpooler&) = delete;
    FileHeldBySpooler& operator=(const FileHeldBySpooler&) = delete;
    ~FileHeldBySpooler()
    {
        if (watcher_) {
            SetEvent(stop_);
            WaitForSingleObject(watcher_, INFINITE);
            CloseHandle(watcher_);
        }
        if (stop_)
            CloseHandle(stop_);
        Release();
    }

    bool IsHeld() const { return watcher_ != nullptr; }
    bool SawSpoolerStopped() const { return sawStopped_ != 0; }

private:
    static DWORD WINAPI Watch(void* param)
    {
        auto* self = static_cast<FileHeldBySpooler*>(param);
        while (WaitForSingleObject(self->stop_, kSpoolerPollMs) == WAIT_TIMEOUT) {
            if (SpoolerState() == SERVICE_STOPPED) {
                InterlockedExchange(&self->sawStopped_, 1);
                self->Release();
                break;
            }
        }
        return 0;
    }

    void Release()
    {
        HANDLE file = InterlockedExchangePointer(&file_, INVALID_HANDLE_VALUE);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }

    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE stop_ = nullptr;
    HANDLE watcher_ = nullptr;
    volatile LONG sawStopped_ = 0;
};

class SpoolerRun : public DriverSetupRun {
protected:
    // Installs the package once, then makes target an older local copy.
    void InstallAndAge(DriverPackage& package, const std::wstring& target, const wchar_t* source)
    {
        ExpectSuccess(RunSetup(package));
        ASSERT_TRUE(WriteFileBytes(target, "in use"));
        ASSERT_TRUE(SetFileWriteTime(target, ShiftTime(FileWriteTime(package.PathOf(source)), -3600)));
        ASSERT_TRUE(SetSpoolerRunning(true));
    }

    // Runs Setup.exe while target is held; true when the spooler was seen stopped.
    bool RunWhileHeld(const DriverPackage& package, const std::wstring& target)
    {
        FileHeldBySpooler held(target);
        EXPECT_TRUE(held.IsHeld());
        ExpectSuccess(RunSetup(package));
        return held.SawSpoolerStopped();
    }
};

TEST_F(SpoolerRun, OlderPcpFileInUseInSystemFolderStopsTheSpoolerWhichRunsAgainAtTheEnd)
{
    DriverPackage& package = MakePackage();
    const std::wstring target = NativeSystemDir() + L"\\PCPCardUI64.dll";
    InstallAndAge(package, target, L"x64\\spool\\PCPCardUI64.dll");
    EXPECT_TRUE(RunWhileHeld(package, target));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState());
}

// The file stays old, so the run does not report success: it ends with the
// group's code and the sharing violation as its detail.
TEST_F(SpoolerRun, OlderFileInUseInExplicitFolderStaysWithoutStoppingTheSpooler)
{
    DriverPackage& package = MakePackage();
    const std::wstring target = JoinPaths(kToolFolder, L"CardPrinterTool.cfg");
    InstallAndAge(package, target, L"common\\CardPrinterTool.cfg");
    {
        FileHeldBySpooler held(target);
        ASSERT_TRUE(held.IsHeld());
        ExpectOutcome(RunSetup(package), -36, GeneralFailureText(-36) + L"\r\n(Detailed: 0x00000020)",
                      L"Setup64.exe");
        EXPECT_FALSE(held.SawSpoolerStopped());
    }
    EXPECT_EQ("in use", ReadFileBytes(target));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState());
}

TEST_F(SpoolerRun, PcpFileInUseWithASpoolerThatWillNotStopEndsWithMinus54WithoutDetail)
{
    DriverPackage& package = MakePackage();
    const std::wstring target = NativeSystemDir() + L"\\PCPCardUI64.dll";
    InstallAndAge(package, target, L"x64\\spool\\PCPCardUI64.dll");
    {
        // First, as putting the stand-in in place stops the real spooler.
        SpoolerStandIn standIn(STUBBORN_SPOOLER);
        ASSERT_TRUE(standIn.IsRunning());
        FileHeldBySpooler held(target);
        ASSERT_TRUE(held.IsHeld());
        ExpectOutcome(RunSetup(package), -54, GeneralFailureText(-54), L"Setup64.exe");
        EXPECT_FALSE(held.SawSpoolerStopped());
        ASSERT_TRUE(standIn.Restore());
    }
    EXPECT_EQ("in use", ReadFileBytes(target));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState());
}

}  // namespace
}  // namespace e2e
