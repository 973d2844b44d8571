// Broken packages, each run end to end: the run ends within the time-out with
// its code, after exactly one box of the driver installer (a crash dialog would
// be a second box or another caption), and the spooler is running afterwards.
#include "setup_e2e_fixture.h"

#include <setupapi.h>

#include <functional>
#include <ostream>

using namespace testing_support;

namespace e2e {
namespace {

struct MalformedPackage {
    const char* name;
    std::function<bool(DriverPackage&)> breakPackage;
    int code;         // exit code of Setup64.exe started with the entry OS2
    DWORD detail;     // second line of its message; 0: none
    bool stopsAtOs;   // Setup.exe itself ends with -17 before the hand-over
};

// Names the row in failure reports.
void PrintTo(const MalformedPackage& row, std::ostream* os)
{
    *os << row.name;
}

std::wstring OutcomeText(int code, DWORD detail)
{
    if (code == 0)
        return kSuccessText;
    std::wstring text = GeneralFailureText(code);
    if (detail != 0) {
        wchar_t line[40];
        wsprintfW(line, L"\r\n(Detailed: 0x%08x)", detail);
        text += line;
    }
    return text;
}

// Rewrites the first occurrence of from in TQSetup.ini.
bool ReplaceInIni(DriverPackage& package, const std::string& from, const std::string& to)
{
    std::string ini = ReadFileBytes(package.IniPath());
    const size_t at = ini.find(from);
    if (at == std::string::npos)
        return false;
    ini.replace(at, from.size(), to);
    return WriteFileBytes(package.IniPath(), ini);
}

bool WriteIni(DriverPackage& package, const std::string& bytes)
{
    return WriteFileBytes(package.IniPath(), bytes);
}

// Bytes that make no section header: no '[' and no line break.
std::string Garbage(size_t size)
{
    std::string bytes(size, '\0');
    unsigned state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(0x80 | (state >> 16));
    }
    return bytes;
}

// An [OS] fault for Setup.exe, and a missing group count that Setup64.exe,
// which never reads [OS], ends with.
std::function<bool(DriverPackage&)> BreakOsEntry(const wchar_t* entry)
{
    return [entry](DriverPackage& package) {
        return package.SetIniValue(L"OS", L"Entry", entry) &&
               package.SetIniValue(L"Depend64", L"Entry", nullptr);
    };
}

std::wstring LongFileList()
{
    std::wstring lines;
    for (int i = 0; lines.size() < 1100; ++i)
        lines += L"CardPrinterFile" + std::to_wstring(i) + L".dll=\n";
    return lines;
}

const MalformedPackage kPackages[] = {
    {"EmptyConfiguration", [](DriverPackage& p) { return WriteIni(p, ""); }, -18, 0, true},
    {"BinaryGarbage", [](DriverPackage& p) { return WriteIni(p, Garbage(4096)); }, -18, 0, true},
    // UTF-16 with a byte order mark, a lone surrogate as driver section and an odd last byte.
    {"BrokenUtf16",
     [](DriverPackage& p) {
         const std::wstring text = L"[Information]\r\nDevInstall=1\r\n[DEV_OS1]\r\nOS2=\xDC00\r\n";
         std::string bytes = "\xFF\xFE";
         bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
         return WriteIni(p, bytes + "A");
     },
     -19, 0, true},
    {"OsEntryZero", BreakOsEntry(L"0"), -25, 0, true},
    {"OsEntryNegative", BreakOsEntry(L"-1"), -25, 0, true},
    {"OsEntryHuge", BreakOsEntry(L"99999999"), -25, 0, true},
    {"OsEntryNotANumber", BreakOsEntry(L"abc"), -25, 0, true},
    // Blanks beside the commas hide every key but the first from Setup.exe;
    // Setup64.exe is given the entry and installs.
    {"OsListWithBlanks",
     [](DriverPackage& p) {
         return p.SetIniValue(L"OS", L"OS2", L"Win764, Win8164, Win1064, 2008R2, 2012R2, 2016");
     },
     0, 0, true},
    {"DriverListKeyMissing", [](DriverPackage& p) { return p.SetIniValue(L"DEV_OS1", L"OS2", nullptr); },
     -18, 0, false},
    {"DriverListOnlyCommas", [](DriverPackage& p) { return p.SetIniValue(L"DEV_OS1", L"OS2", L",,,"); },
     -18, 0, false},
    // Cut to 259 characters, the line names a driver section that is not there.
    {"MegabyteDriverList",
     [](DriverPackage& p) { return ReplaceInIni(p, "OS2=Driver64, x64", "OS2=" + std::string(1 << 20, 'D')); },
     -19, 0, false},
    {"InfNameMissing", [](DriverPackage& p) { return p.SetIniValue(L"Driver64", L"WDMInf", nullptr); },
     -19, 0, false},
    {"GarbageInf", [](DriverPackage& p) { return WriteFileBytes(p.PathOf(L"x64\\CardPrinter.inf"), Garbage(512)); },
     -33, ERROR_EXPECTED_SECTION_NAME, false},
    {"GroupCountMissing", [](DriverPackage& p) { return p.SetIniValue(L"Depend64", L"Entry", nullptr); },
     -25, 0, false},
    {"GroupCountNegative", [](DriverPackage& p) { return p.SetIniValue(L"Depend64", L"Entry", L"-1"); },
     -25, 0, false},
    {"GroupCountHugeWithOneName",
     [](DriverPackage& p) {
         return p.SetIniSection(L"Depend64", L"Entry=2000000\nName1=ToolFiles, 1:C:\\ProgramData\\CardPrinter, common");
     },
     -26, 0, false},
    {"NameListTooShort", [](DriverPackage& p) { return p.SetIniValue(L"Depend64", L"Name2", L"SpoolFiles64, 2"); },
     -26, 0, false},
    {"TargetKindSeven",
     [](DriverPackage& p) { return p.SetIniValue(L"Depend64", L"Name2", L"SpoolFiles64, 7, x64\\spool"); },
     -27, 0, false},
    {"FileListMissing",
     [](DriverPackage& p) { return p.SetIniValue(L"Depend64", L"Name2", L"NoSuchFiles, 2, x64\\spool"); },
     -20, 0, false},
    {"FileListOverlong", [](DriverPackage& p) { return p.SetIniSection(L"SpoolFiles64", LongFileList()); },
     -20, 0, false},
    // A listed name that leads out of its source folder fails its group.
    {"FileNameLeavesItsFolder",
     [](DriverPackage& p) { return p.SetIniSection(L"ToolFiles", L"..\\x64\\CardPrinter.inf="); },
     -36, ERROR_INVALID_NAME, false},
    {"ExplicitTargetBelowMissingFolder",
     [](DriverPackage& p) {
         return p.SetIniValue(L"Depend64", L"Name1",
                              (L"ToolFiles, 1:" + p.PathOf(L"missing\\CardPrinter") + L", common").c_str());
     },
     -36, ERROR_PATH_NOT_FOUND, false},
};

class MalformedPackageRun : public DriverSetupRun, public ::testing::WithParamInterface<MalformedPackage> {
protected:
    void SetUp() override
    {
        DriverSetupRun::SetUp();
        ASSERT_TRUE(SetSpoolerRunning(true));
    }
};

void ExpectSpoolerRunning()
{
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), SpoolerState()) << "spooler left stopped";
}

TEST_P(MalformedPackageRun, Setup64EndsWithItsCodeAndOneMessage)
{
    const MalformedPackage& row = GetParam();
    DriverPackage& package = MakePackage();
    ASSERT_TRUE(row.breakPackage(package));
    ExpectOutcome(RunSetup64(package, L"\"" + package.Dir() + L"\" OS2"), row.code,
                  OutcomeText(row.code, row.detail), L"Setup64.exe");
    ExpectSpoolerRunning();
}

// Setup.exe reads [OS] itself and hands the rest over to Setup64.exe. Only the
// 32-bit tree builds Setup.exe.
#ifndef _WIN64
TEST_P(MalformedPackageRun, SetupEndsWithItsCodeAndOneMessage)
{
    const MalformedPackage& row = GetParam();
    DriverPackage& package = MakePackage();
    ASSERT_TRUE(row.breakPackage(package));
    if (row.stopsAtOs)
        ExpectOutcome(RunSetup(package), -17, GeneralFailureText(-17), L"Setup.exe");
    else
        ExpectOutcome(RunSetup(package), row.code, OutcomeText(row.code, row.detail), L"Setup64.exe");
    ExpectSpoolerRunning();
}
#endif

INSTANTIATE_TEST_SUITE_P(Packages, MalformedPackageRun, ::testing::ValuesIn(kPackages),
                         [](const ::testing::TestParamInfo<MalformedPackage>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace e2e
