// InstallDriverPackage on configurations read from real TQSetup.ini files,
// copying into the system folders of the test prefix (cleaned up afterwards).
#include <gtest/gtest.h>

#include <shlobj.h>
#include <memory>
#include <string>
#include <vector>

#include "driver_install.h"
#include "folder_listing.h"
#include "setup_codes.h"
#include "setup_test_files.h"
#include "spooler_control.h"
#include "spooler_stand_in.h"
#include "unix_links.h"

namespace {

using namespace driver_setup_test;
using testing_support::DirectoryExists;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

const char kPrinterInf[] =
    "[Version]\nSignature=\"$Windows NT$\"\nClass=Printer\n"
    "ClassGUID={4D36E979-E325-11CE-BFC1-08002BE10318}\nProvider=%Maker%\nDriverVer=06/01/2024,1.0.0.0\n"
    "[Manufacturer]\n%Maker%=Models\n[Models]\n\"Unit Test Printer\"=Install,USBPRINT\\UnitTestPrinter\n"
    "[Install]\nDriverFile=PCPunit.dll\n[Strings]\nMaker=\"Driver Setup Unit Test Maker\"\n";

// A package folder with TQSetup.ini and source files, read as Setup reads it.
class DriverInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(1, ControlSpooler(SpoolerStart));
        setupDir_ = package_.Path() + L"\\";
    }
    void TearDown() override
    {
        ControlSpooler(SpoolerStart);
        RemoveDriverStoreCopies();
    }

    // Reads a configuration whose [Dep] section lists the groups.
    int ReadConfig(const std::string& information, const std::string& groups)
    {
        WriteConfig(package_, "[Information]\n" + information + "[DEV_OS1]\nOS1=Driver, drv\n"
                              "[Driver]\nWDMInf=printer.inf\nWDMDependFiles=Dep\n[Dep]\n" + groups);
        config_ = package_ / L"TQSetup.ini";
        setup_.reset(new DriverSetup(config_.c_str(), L"OS1", setupDir_.c_str()));
        return ReadSetupConfig(*setup_);
    }
    void AddSource(const std::wstring& relative, LONGLONG secondsFromNow = -100)
    {
        testing_support::CreateDirectories(package_ / relative.substr(0, relative.find_last_of(L'\\')));
        ASSERT_TRUE(WriteFileAt(package_ / relative, "new", secondsFromNow));
    }
    // An older file in a system folder, removed at the end of the test.
    void AddSystemFile(const std::wstring& path)
    {
        cleanup_.Add(path);
        ASSERT_TRUE(WriteFileAt(path, "old", -3600));
    }
    // The INF files that SetupCopyOEMInfW put into the driver store for this test.
    void RemoveDriverStoreCopies()
    {
        const std::wstring infDir = SystemFolder(CSIDL_WINDOWS) + L"\\inf\\";
        WIN32_FIND_DATAW found = {};
        HANDLE search = FindFirstFileW((infDir + L"oem*.inf").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return;
        do {
            const std::wstring path = infDir + found.cFileName;
            if (ReadFileBytes(path).find("Driver Setup Unit Test Maker") != std::string::npos)
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }

    ScratchDir package_;
    std::wstring setupDir_;
    std::wstring config_;
    std::unique_ptr<DriverSetup> setup_;
    RemoveAtEnd cleanup_;
};

TEST_F(DriverInstall, RefusesAnIncompleteConfiguration)
{
    DriverSetup setup(L"", L"OS1", L"C:\\");
    setup.detailCode = 7;
    EXPECT_EQ(SetupNotReady, InstallDriverPackage(setup));
    EXPECT_EQ(7u, setup.detailCode);
}

TEST_F(DriverInstall, AddsThePackageToTheDriverStore)
{
    ASSERT_EQ(SetupSucceeded, ReadConfig("DevInstall=1\n", "Entry=0\n"));
    testing_support::CreateDirectories(package_ / L"drv");
    ASSERT_TRUE(WriteFileBytes(package_ / L"drv\\printer.inf", kPrinterInf));
    EXPECT_EQ(SetupSucceeded, InstallDriverPackage(*setup_));
    EXPECT_EQ(0u, setup_->detailCode);
}

TEST_F(DriverInstall, RefusedPackageEndsTheRunBeforeAnyCopy)
{
    ASSERT_EQ(SetupSucceeded,
              ReadConfig("DevInstall=1\n", "Entry=1\nName1=Files, 1:" + std::string("C:\\unit_never") + ", src\n"
                                           "[Files]\na.txt\n"));
    AddSource(L"src\\a.txt");
    EXPECT_EQ(SetupDriverStoreFailed, InstallDriverPackage(*setup_));
    EXPECT_NE(0u, setup_->detailCode);
    EXPECT_FALSE(DirectoryExists(L"C:\\unit_never"));
}

// A file that the copy rule replaces and that stays in use keeps its old
// version, so the run fails with the group's code and the sharing violation:
// in an explicit folder (the spooler is never stopped for it), and in a
// system folder whether or not the name lets the spooler be stopped (which
// here frees nothing: the test holds the file). The spooler runs afterwards,
// and the group's other files are copied.
TEST_F(DriverInstall, FileLeftInUseEndsWithTheGroupsCodeAndTheSharingViolation)
{
    ScratchDir explicitTarget;
    const struct {
        std::string kind;
        std::wstring folder;
        const wchar_t* name;
        int code;
    } cases[] = {
        {"1:" + testing_support::ToCodePage(explicitTarget.Path(), CP_ACP), explicitTarget.Path(), L"PCPui.dll",
         SetupTargetCopyFailed},
        {"2", SystemFolder(CSIDL_SYSTEM), L"unit_held.dll", SetupSystemCopyFailed},
        {"2", SystemFolder(CSIDL_SYSTEM), L"PCPunit_held.dll", SetupSystemCopyFailed},
        {"3", SystemFolder(CSIDL_SYSTEMX86), L"PCPunit_held.dll", SetupSystemX86CopyFailed},
    };
    for (const auto& c : cases) {
        const std::string name = testing_support::ToCodePage(c.name, CP_ACP);
        ASSERT_EQ(SetupSucceeded, ReadConfig("", "Entry=1\nName1=Files, " + c.kind + ", src\n[Files]\n" +
                                                     name + "\nunit_free.txt\n"));
        AddSource(L"src\\" + std::wstring(c.name));
        AddSource(L"src\\unit_free.txt");
        const std::wstring held = c.folder + L"\\" + c.name;
        AddSystemFile(held);
        cleanup_.Add(c.folder + L"\\unit_free.txt");
        {
            HeldFile holder(held);
            ASSERT_TRUE(holder.IsHeld());
            EXPECT_EQ(c.code, InstallDriverPackage(*setup_)) << c.kind << " " << name;
        }
        EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), setup_->detailCode) << c.kind << " " << name;
        EXPECT_EQ("old", ReadFileBytes(held)) << c.kind << " " << name;
        EXPECT_EQ("new", ReadFileBytes(c.folder + L"\\unit_free.txt")) << c.kind << " " << name;
        EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState()) << c.kind << " " << name;
        cleanup_.RemoveNow();
    }
}

// A copy that fails half way (here on a full disk: drive S:, a one-megabyte
// file system that the test run mounts where it may) leaves the old file as
// it was and nothing beside it, and the run ends with the group's code.
TEST_F(DriverInstall, CopyOntoAFullDiskLeavesTheOldFileWhole)
{
    ULARGE_INTEGER available = {}, total = {};
    if (!GetDiskFreeSpaceExW(L"S:\\", &available, &total, nullptr) || total.QuadPart > (100ull << 20))
        GTEST_SKIP() << "no small drive S: in this test run";
    const std::wstring folder = L"S:\\dsfull";
    ASSERT_TRUE(testing_support::CreateDirectories(folder));
    ASSERT_EQ(SetupSucceeded, ReadConfig("", "Entry=1\nName1=Files, 1:S:\\dsfull, src\n[Files]\nbig.dat\n"));
    AddSource(L"src\\big.dat");
    ASSERT_TRUE(WriteFileBytes(package_ / L"src\\big.dat", std::string(size_t(available.QuadPart) + (256u << 10), 'n')));
    ASSERT_TRUE(WriteFileAt(folder + L"\\big.dat", "old", -3600));
    EXPECT_EQ(SetupTargetCopyFailed, InstallDriverPackage(*setup_));
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), setup_->detailCode);
    const std::string left = ReadFileBytes(folder + L"\\big.dat");
    EXPECT_TRUE(left == "old") << "the target holds " << left.size() << " other bytes";
    EXPECT_EQ(std::vector<std::wstring>{L"big.dat"}, testing_support::FileNamesIn(folder));
    testing_support::RemoveTree(folder);
}

TEST_F(DriverInstall, ExplicitTargetWithoutParentEndsWith36)
{
    ScratchDir target;
    const std::string orphan = testing_support::ToCodePage(target / L"missing\\target", CP_ACP);
    ASSERT_EQ(SetupSucceeded, ReadConfig("", "Entry=1\nName1=Files, 1:" + orphan + ", src\n[Files]\na.txt\n"));
    AddSource(L"src\\a.txt");
    EXPECT_EQ(SetupTargetCopyFailed, InstallDriverPackage(*setup_));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), setup_->detailCode);
}

// An explicit target that is, or lies below, a folder link is not used: the
// link could lead the elevated copy anywhere (ERROR_REPARSE_POINT_ENCOUNTERED).
TEST_F(DriverInstall, ExplicitTargetThroughAFolderLinkEndsWith36)
{
    ScratchDir target;
    const std::wstring outside = target / L"outside";
    const std::wstring link = target / L"linked";
    ASSERT_TRUE(testing_support::CreateDirectories(outside));
    ASSERT_TRUE(testing_support::MakeUnixLink(link, outside));
    AddSource(L"src\\a.txt");
    for (const std::wstring& folder : {link, link + L"\\Vendor"}) {
        const std::string text = testing_support::ToCodePage(folder, CP_ACP);
        ASSERT_EQ(SetupSucceeded, ReadConfig("", "Entry=1\nName1=Files, 1:" + text + ", src\n[Files]\na.txt\n"));
        EXPECT_EQ(SetupTargetCopyFailed, InstallDriverPackage(*setup_)) << text;
        EXPECT_EQ(4395u, setup_->detailCode) << text;
    }
    EXPECT_FALSE(FileExists(outside + L"\\a.txt"));
    EXPECT_FALSE(DirectoryExists(outside + L"\\Vendor"));
    EXPECT_TRUE(testing_support::RemoveUnixLink(link));
}

TEST_F(DriverInstall, FailedSystemGroupReportsItsErrorAndRestartsTheSpooler)
{
    const std::wstring system = SystemFolder(CSIDL_SYSTEM);
    ASSERT_EQ(SetupSucceeded, ReadConfig("", "Entry=1\nName1=Spool, 2, spool\n[Spool]\nPCPunit_a.dll\n"
                                             "unit_absent.dll\n"));
    AddSource(L"spool\\PCPunit_a.dll");
    AddSystemFile(system + L"\\PCPunit_a.dll");
    cleanup_.Add(system + L"\\unit_absent.dll");
    HeldFile held(system + L"\\PCPunit_a.dll");
    EXPECT_EQ(SetupSystemCopyFailed, InstallDriverPackage(*setup_));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), setup_->detailCode);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState());
}

TEST_F(DriverInstall, SpoolerThatCannotBeStoppedEndsWith54WithoutDetail)
{
    const std::wstring system = SystemFolder(CSIDL_SYSTEMX86);
    ASSERT_EQ(SetupSucceeded, ReadConfig("", "Entry=1\nName1=Spool, 3, spool\n[Spool]\nPCPunit_a.dll\n"));
    AddSource(L"spool\\PCPunit_a.dll");
    AddSystemFile(system + L"\\PCPunit_a.dll");
    HeldFile held(system + L"\\PCPunit_a.dll");
    ASSERT_TRUE(held.IsHeld());
    testing_support::SpoolerStandIn standIn(STUBBORN_SPOOLER);
    ASSERT_TRUE(standIn.IsRunning());
    setup_->detailCode = 7;
    EXPECT_EQ(SetupSpoolerNotStopped, InstallDriverPackage(*setup_));
    EXPECT_EQ(0u, setup_->detailCode);
    EXPECT_EQ("old", ReadFileBytes(system + L"\\PCPunit_a.dll"));
    ASSERT_TRUE(standIn.Restore());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState());
}

// The stand-in holds the spooler file until it has stopped, about a second
// after the stop request: the install waits for it and replaces the file.
TEST_F(DriverInstall, SpoolerSlowToStopIsWaitedForAndItsFileReplaced)
{
    const std::wstring system = SystemFolder(CSIDL_SYSTEM);
    const std::wstring held = system + L"\\PCPunit_slow.dll";
    ASSERT_EQ(SetupSucceeded, ReadConfig("", "Entry=1\nName1=Spool, 2, spool\n[Spool]\nPCPunit_slow.dll\n"));
    AddSource(L"spool\\PCPunit_slow.dll");
    AddSystemFile(held);
    {
        testing_support::SpoolerStandIn standIn(STUBBORN_SPOOLER, L"slow \"" + held + L"\"");
        ASSERT_TRUE(standIn.IsRunning());
        ASSERT_FALSE(CopyFileW((package_ / L"spool\\PCPunit_slow.dll").c_str(), held.c_str(), FALSE))
            << "the stand-in does not hold the file";
        EXPECT_EQ(SetupSucceeded, InstallDriverPackage(*setup_));
        EXPECT_EQ(0u, setup_->detailCode);
        EXPECT_EQ("new", ReadFileBytes(held));
        ASSERT_TRUE(standIn.Restore());
    }
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState());
}

TEST_F(DriverInstall, SecondSystemFolderGroupFailsWith35)
{
    ASSERT_EQ(SetupSucceeded, ReadConfig("", "Entry=1\nName1=Spool, 3, spool\n[Spool]\nunit_absent.dll\n"));
    AddSource(L"spool\\unlisted.dll");
    cleanup_.Add(SystemFolder(CSIDL_SYSTEMX86) + L"\\unit_absent.dll");
    EXPECT_EQ(SetupSystemX86CopyFailed, InstallDriverPackage(*setup_));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), setup_->detailCode);
}

TEST_F(DriverInstall, DownlevelGroupsOnlyAddMissingFilesAndNeverFail)
{
    const std::wstring downlevel = SystemFolder(CSIDL_SYSTEM) + L"\\downlevel";
    const std::wstring downlevelX86 = SystemFolder(CSIDL_SYSTEMX86) + L"\\downlevel";
    const bool hadDownlevel = DirectoryExists(downlevel);
    const bool hadDownlevelX86 = DirectoryExists(downlevelX86);
    ASSERT_EQ(SetupSucceeded,
              ReadConfig("", "Entry=3\nName1=Rt, 4, rt\nName2=Rt, 5, rt\nName3=Broken, 4, rt\n"
                             "[Rt]\nunit_rt_old.dll\nunit_rt_new.dll\n[Broken]\nunit_rt_absent.dll\n"));
    AddSource(L"rt\\unit_rt_old.dll", 0);
    AddSource(L"rt\\unit_rt_new.dll");
    for (const std::wstring& folder : {downlevel, downlevelX86}) {
        CreateDirectoryW(folder.c_str(), nullptr);
        AddSystemFile(folder + L"\\unit_rt_old.dll");
        cleanup_.Add(folder + L"\\unit_rt_new.dll");
    }
    EXPECT_EQ(SetupSucceeded, InstallDriverPackage(*setup_));
    for (const std::wstring& folder : {downlevel, downlevelX86}) {
        EXPECT_EQ("old", ReadFileBytes(folder + L"\\unit_rt_old.dll"));
        EXPECT_EQ("new", ReadFileBytes(folder + L"\\unit_rt_new.dll"));
    }
    cleanup_.RemoveNow();
    if (!hadDownlevel)
        RemoveDirectoryW(downlevel.c_str());
    if (!hadDownlevelX86)
        RemoveDirectoryW(downlevelX86.c_str());
}

}  // namespace
