// The real "Spooler" service of the test prefix: stopped and started by
// ControlSpooler, and stopped by CopyFileGroup for a spooler file in use.
#include <gtest/gtest.h>

#include <string>

#include "file_group_copy.h"
#include "setup_test_files.h"
#include "spooler_control.h"
#include "spooler_stand_in.h"

namespace {

using namespace driver_setup_test;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::SpoolerStandIn;

class Spooler : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(1, ControlSpooler(SpoolerStart)); }
    void TearDown() override { ControlSpooler(SpoolerStart); }
};

TEST_F(Spooler, StopsAndStartsTheRealService)
{
    EXPECT_EQ(1, ControlSpooler(SpoolerStop));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), SpoolerState());
    EXPECT_EQ(1, ControlSpooler(SpoolerStop));
    EXPECT_EQ(1, ControlSpooler(SpoolerStart));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState());
    EXPECT_EQ(1, ControlSpooler(SpoolerStart));
}

// Older copies of the files in a target folder, held open as a running spooler holds them.
class SpoolerFilesInUse : public Spooler {
protected:
    void SetUp() override
    {
        Spooler::SetUp();
        source_ = root_ / L"source";
        target_ = root_ / L"target";
        ASSERT_TRUE(CreateDirectoryW(source_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(target_.c_str(), nullptr));
    }
    void AddOlderTarget(const wchar_t* name)
    {
        ASSERT_TRUE(WriteFileAt(source_ + L"\\" + name, "new", -100));
        ASSERT_TRUE(WriteFileAt(target_ + L"\\" + name, "old", -3600));
    }
    int Copy(std::initializer_list<const wchar_t*> names, DWORD mode)
    {
        StringList list;
        Fill(list, names);
        return CopyFileGroup(source_.c_str(), target_.c_str(), list, mode);
    }

    ScratchDir root_;
    std::wstring source_;
    std::wstring target_;
};

// Still held by this test, not by the spooler, the file stays old after the
// spooler has stopped: the group fails with the sharing violation.
TEST_F(SpoolerFilesInUse, SpoolerFileInUseStopsTheSpooler)
{
    for (const wchar_t* name : {L"PCPui.dll", L"PDRres.dll"}) {
        AddOlderTarget(name);
        HeldFile held(target_ + L"\\" + name);
        ASSERT_TRUE(held.IsHeld());
        EXPECT_EQ(-2, Copy({name}, CopyByTime | CopyMayStopSpooler)) << name;
        EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError()) << name;
        EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), SpoolerState()) << name;
        EXPECT_EQ("old", ReadFileBytes(target_ + L"\\" + name));
        ASSERT_EQ(1, ControlSpooler(SpoolerStart));
    }
}

// Files in use that the spooler does not free fail the group without a stop.
TEST_F(SpoolerFilesInUse, OtherFilesInUseLeaveTheSpoolerRunning)
{
    AddOlderTarget(L"pcpui.dll");
    AddOlderTarget(L"XPCP.dll");
    HeldFile lower(target_ + L"\\pcpui.dll");
    HeldFile other(target_ + L"\\XPCP.dll");
    ASSERT_TRUE(lower.IsHeld());
    EXPECT_EQ(0, Copy({L"pcpui.dll", L"XPCP.dll"}, CopyByTime | CopyMayStopSpooler));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState());
    EXPECT_EQ("old", ReadFileBytes(target_ + L"\\pcpui.dll"));
}

TEST_F(SpoolerFilesInUse, FailureAfterTheStopIsReported)
{
    AddOlderTarget(L"PCPui.dll");
    HeldFile held(target_ + L"\\PCPui.dll");
    EXPECT_EQ(-2, Copy({L"PCPui.dll", L"absent.dll"}, CopyByTime | CopyMayStopSpooler));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), SpoolerState());
}

// A spooler that will not stop ends the group at the spooler file; later
// files are left alone.
TEST_F(SpoolerFilesInUse, SpoolerThatCannotBeStoppedEndsTheCopy)
{
    AddOlderTarget(L"PDRres.dll");
    ASSERT_TRUE(WriteFileAt(source_ + L"\\later.txt", "new", -100));
    HeldFile held(target_ + L"\\PDRres.dll");
    ASSERT_TRUE(held.IsHeld());
    SpoolerStandIn standIn(STUBBORN_SPOOLER);
    ASSERT_TRUE(standIn.IsRunning());
    EXPECT_EQ(0, ControlSpooler(SpoolerStop));
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(0, Copy({L"PDRres.dll", L"later.txt"}, CopyByTime | CopyMayStopSpooler));
    EXPECT_EQ(SPOOLER_STOP_FAILED, GetLastError());
    EXPECT_EQ("old", ReadFileBytes(target_ + L"\\PDRres.dll"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((target_ + L"\\later.txt").c_str()));
    ASSERT_TRUE(standIn.Restore());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState());
    EXPECT_EQ(1, ControlSpooler(SpoolerStop));
}

}  // namespace
