#include <gtest/gtest.h>

#include <string>

#include "windows_version.h"

namespace {

// A Windows that the test machine cannot pretend to be.
class FakeWindows : public VersionQuestions {
public:
    FakeWindows(DWORD major, DWORD minor, WORD servicePack, bool workstation = true, bool wow64 = false)
        : major_(major), minor_(minor), servicePack_(servicePack), workstation_(workstation), wow64_(wow64)
    {
    }

    bool IsAtLeast(DWORD major, DWORD minor, WORD servicePackMajor) const override
    {
        if (major_ != major)
            return major_ > major;
        if (minor_ != minor)
            return minor_ > minor;
        return servicePack_ >= servicePackMajor;
    }
    bool IsWorkstation() const override
    {
        ++workstationAsked;
        return workstation_;
    }
    bool IsWow64() const override { return wow64_; }

    mutable int workstationAsked = 0;

private:
    DWORD major_, minor_;
    WORD servicePack_;
    bool workstation_, wow64_;
};

struct LevelRow {
    DWORD major, minor;
    WORD servicePack;
    OsLevel level;
};

TEST(IdentifyWindows, GivesTheLevelOfEveryVersion)
{
    const LevelRow rows[] = {
        {4, 0, 6, 0},  {5, 0, 4, 0},  {5, 1, 0, 1},  {5, 1, 3, 1}, {5, 2, 2, 1}, {6, 0, 0, 2},
        {6, 0, 2, 2},  {6, 1, 0, 3},  {6, 1, 1, 4},  {6, 1, 2, 4}, {6, 2, 0, 5}, {6, 3, 0, 6},
        {6, 4, 0, 6},  {10, 0, 0, 7}, {11, 0, 0, 7},
    };
    for (const LevelRow& row : rows) {
        EXPECT_EQ(row.level, IdentifyWindows(FakeWindows(row.major, row.minor, row.servicePack)))
            << row.major << "." << row.minor << " SP" << row.servicePack;
    }
}

std::wstring KeyOf(const FakeWindows& windows)
{
    OsKey key = {L"junk"};
    SelectOsKey(key, windows);
    return key.text;
}

struct KeyRow {
    DWORD major, minor;
    WORD servicePack;
    const wchar_t* native;
    const wchar_t* workstation64;
    const wchar_t* server64;
};

TEST(SelectOsKey, PicksTheKeyByLevelBitnessAndProductType)
{
    const KeyRow rows[] = {
        {6, 1, 1, L"Win7", L"Win764", L"2008R2"},
        {6, 3, 0, L"Win81", L"Win8164", L"2012R2"},
        {10, 0, 0, L"Win10", L"Win1064", L"2016"},
    };
    for (const KeyRow& row : rows) {
        EXPECT_EQ(row.native, KeyOf(FakeWindows(row.major, row.minor, row.servicePack, true, false)));
        EXPECT_EQ(row.native, KeyOf(FakeWindows(row.major, row.minor, row.servicePack, false, false)));
        EXPECT_EQ(row.workstation64, KeyOf(FakeWindows(row.major, row.minor, row.servicePack, true, true)));
        EXPECT_EQ(row.server64, KeyOf(FakeWindows(row.major, row.minor, row.servicePack, false, true)));
    }
}

TEST(SelectOsKey, IsEmptyForUnsupportedLevels)
{
    const LevelRow rows[] = {{5, 0, 0, 0}, {5, 1, 3, 1}, {6, 0, 2, 2}, {6, 1, 0, 3}, {6, 2, 0, 5}};
    for (const LevelRow& row : rows) {
        EXPECT_EQ(L"", KeyOf(FakeWindows(row.major, row.minor, row.servicePack, true, true))) << row.level;
        EXPECT_EQ(L"", KeyOf(FakeWindows(row.major, row.minor, row.servicePack, false, false))) << row.level;
    }
}

TEST(SelectOsKey, AsksForTheProductTypeOnlyUnderWow64)
{
    FakeWindows native(10, 0, 0, false, false);
    KeyOf(native);
    EXPECT_EQ(0, native.workstationAsked);
    FakeWindows wow64(10, 0, 0, false, true);
    KeyOf(wow64);
    EXPECT_EQ(1, wow64.workstationAsked);
}

// The real questions: the test prefix reports Windows 7 SP1 to a program
// without a version of its own.
TEST(SystemVersionQuestions, SeeWindows7Sp1InTheTestPrefix)
{
    EXPECT_EQ(4, IdentifyWindows());
    const VersionQuestions& system = SystemVersionQuestions();
    EXPECT_TRUE(system.IsAtLeast(6, 1, 1));
    EXPECT_FALSE(system.IsAtLeast(6, 1, 2));
    EXPECT_FALSE(system.IsAtLeast(6, 2, 0));
}

TEST(SystemVersionQuestions, AnswerAsTheSystemReportsItself)
{
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    OSVERSIONINFOEXW reported = {};
    reported.dwOSVersionInfoSize = sizeof(reported);
    ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&reported)));
    const VersionQuestions& system = SystemVersionQuestions();
    EXPECT_EQ(wow64 != FALSE, system.IsWow64());
    EXPECT_EQ(reported.wProductType == VER_NT_WORKSTATION, system.IsWorkstation());
#ifdef _WIN64
    EXPECT_FALSE(system.IsWow64());
#endif

    const wchar_t* expected = !wow64 ? L"Win7"
                              : reported.wProductType == VER_NT_WORKSTATION ? L"Win764"
                                                                            : L"2008R2";
    OsKey key = {};
    SelectOsKey(key);
    EXPECT_STREQ(expected, key.text);
}

}  // namespace
