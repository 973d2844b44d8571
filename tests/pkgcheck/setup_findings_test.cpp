// pkgcheck on the sample package with one fault in TQSetup.ini: the exact
// lines, each naming the code Setup ends with on the Windows it concerns.
#include <gtest/gtest.h>

#include "pkgcheck_run.h"

using namespace pkgcheck_testing;

namespace {

const wchar_t kIni[] = L"TQSetup.ini";

// Lines enough to take a file-list section past the 1021 characters Setup reads.
std::string PaddingLines(int count)
{
    std::string lines;
    for (int i = 0; i < count; ++i) {
        char line[32];
        snprintf(line, sizeof(line), "Padding%03d.dll=\r\n", i);
        lines += line;
    }
    return lines;
}

class SetupFindings : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SetupFindings, AreExactlyTheFaultsOwn)
{
    ExpectFindings(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Kinds, SetupFindings, ::testing::Values(
    FaultCase{"OsBlank",
              {Replace(kIni, "OS1=Win7,Win81,Win10", "OS1=Win7, Win81,Win10")},
              {"TQSetup.ini:12: error: [OS] OS1: \" Win81\" has a blank beside its comma and matches no Windows",
               "TQSetup.ini:10: warning: no [OS] entry holds Win81: Setup ends with -17 there"},
              2},
    FaultCase{"OsUnknown",
              {Replace(kIni, "OS1=Win7,Win81,Win10", "OS1=Win7,Win81,Win10,Win11")},
              {"TQSetup.ini:12: error: [OS] OS1: \"Win11\" is no Windows key (Win7, Win764, 2008R2, Win81, Win8164, 2012R2, Win10, Win1064, 2016)"},
              2},
    FaultCase{"OsBeyondEntry",
              {Replace(kIni, "Entry=2\r\nOS1", "Entry=1\r\nOS1")},
              {"TQSetup.ini:13: warning: [OS] OS2 is beyond Entry=1 and never read",
               "TQSetup.ini:10: warning: no [OS] entry holds Win764, 2008R2, Win8164, 2012R2, Win1064, 2016: Setup ends with -17 there"},
              1},
    FaultCase{"OsEntryMissingKey",
              {Replace(kIni, "Entry=2\r\nOS1", "Entry=3\r\nOS1")},
              {"TQSetup.ini:10: error: [OS] has no OS3 (Entry=3): Setup ends with -17 on every Windows"},
              2},
    FaultCase{"OsNoEntry",
              {Replace(kIni, "Entry=2\r\nOS1", "OS1")},
              {"TQSetup.ini:10: error: [OS] Entry is missing or not a positive number: Setup ends with -17 on every Windows"},
              2},
    FaultCase{"DevOsMissing",
              {Replace(kIni, "OS2=Driver64, x64\r\n", "")},
              {"TQSetup.ini:15: error: [DEV_OS1] has no OS2: Setup ends with -18 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"WdminfMissing",
              {Replace(kIni, "[Driver64]\r\nWDMInf=CardPrinter.inf\r\n", "[Driver64]\r\n")},
              {"TQSetup.ini:23: error: [Driver64] has no WDMInf: Setup ends with -19 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"DriverSectionMissing",
              {Replace(kIni, "OS2=Driver64, x64", "OS2=Driver64bit, x64")},
              {"TQSetup.ini:17: error: the driver section [Driver64bit] of [DEV_OS1] OS2 is missing: Setup ends with -19 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"InfFileMissing",
              {Replace(kIni, "[Driver64]\r\nWDMInf=CardPrinter.inf", "[Driver64]\r\nWDMInf=CardPrinter64.inf")},
              {"TQSetup.ini:24: error: x64\\CardPrinter64.inf is not in the package: Setup ends with -33 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"DependEntryMissing",
              {Replace(kIni, "[Depend64]\r\nEntry=5\r\n", "[Depend64]\r\n")},
              {"TQSetup.ini:35: error: [Depend64] has no Entry: Setup ends with -25 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"DependSectionMissing",
              {Replace(kIni, "WDMDependFiles=Depend64", "WDMDependFiles=Depend64bit")},
              {"TQSetup.ini:25: error: the dependent-files section [Depend64bit] is missing: Setup ends with -25 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"NameMissing",
              {Replace(kIni, "[Depend64]\r\nEntry=5", "[Depend64]\r\nEntry=6")},
              {"TQSetup.ini:35: error: [Depend64] has no Name6: Setup ends with -26 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"NameBeyond",
              {Replace(kIni, "[Depend64]\r\nEntry=5", "[Depend64]\r\nEntry=4")},
              {"TQSetup.ini:41: warning: [Depend64] Name5 is beyond Entry=4 and never read"},
              1},
    FaultCase{"NameShort",
              {Replace(kIni, "Name3=SpoolFiles32, 3, x86\\spool", "Name3=SpoolFiles32, 3")},
              {"TQSetup.ini:39: error: [Depend64] Name3 has fewer than three fields: Setup ends with -26 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"FileListMissing",
              {Replace(kIni, "Name2=SpoolFiles64, 2", "Name2=SpoolFiles64bit, 2")},
              {"TQSetup.ini:38: error: the file-list section [SpoolFiles64bit] is missing or empty: Setup ends with -20 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"FileListLong",
              {Replace(kIni, "[SpoolFiles64]\r\n", "[SpoolFiles64]\r\n" + PaddingLines(70))},
              {"TQSetup.ini:51: error: the file-list section [SpoolFiles64] takes 1158 characters, over the 1021 Setup reads: Setup ends with -20 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"TargetKind",
              {Replace(kIni, "Name2=SpoolFiles64, 2, x64\\spool", "Name2=SpoolFiles64, 7, x64\\spool")},
              {"TQSetup.ini:38: error: the target \" 7\" is no kind 1 to 5: Setup ends with -27 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"TargetTwelve",
              {Replace(kIni, "Name2=SpoolFiles64, 2, x64\\spool", "Name2=SpoolFiles64, 12, x64\\spool")},
              {"TQSetup.ini:38: error: the target \" 12\" holds a 1 or a colon, so Setup takes it as kind 1 with the folder \"\"",
               "TQSetup.ini:38: error: the target \" 12\" is kind 1 without a folder: Setup ends with -36 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"FieldPrefix",
              {Replace(kIni, "Name1=ToolFiles, 1:C:\\ProgramData\\CardPrinter, common\r\nName2=SpoolFiles32", "Name1=ToolFiles, 1:C:\\ProgramData\\CardPrinter,common\r\nName2=SpoolFiles32")},
              {"TQSetup.ini:30: error: \"common\" after a comma begins neither with a blank nor with 1:, so Setup reads \"ommon\"",
               "TQSetup.ini:44: error: ommon\\CardPrinterTool.cfg is not in the package: Setup ends with -36 on Win7, Win81, Win10 (unless the target folder has the file already)",
               "TQSetup.ini:45: error: ommon\\CardPrinterReadme.txt is not in the package: Setup ends with -36 on Win7, Win81, Win10 (unless the target folder has the file already)"},
              2},
    FaultCase{"FieldPrefixKind4",
              {Replace(kIni, "Name4=RuntimeFiles64, 4, x64\\downlevel", "Name4=RuntimeFiles64, 4,x64\\downlevel")},
              {"TQSetup.ini:40: error: \"x64\\downlevel\" after a comma begins neither with a blank nor with 1:, so Setup reads \"64\\downlevel\"",
               "TQSetup.ini:59: warning: 64\\downlevel\\CardPrinterRt64.dll is not in the package: Setup skips it without a message on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"FieldHoldsOne",
              {Replace(kIni, "OS2=Driver64, x64", "OS2=Driver64, x64\\win10")},
              {"TQSetup.ini:17: error: \" x64\\win10\" holds a 1 or a colon after its prefix, so Setup reads \"\" (it cuts a field up to the character after its first 1 or colon)",
               "TQSetup.ini:24: error: CardPrinter.inf is not in the package: Setup ends with -33 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              2},
    FaultCase{"ListedMissing",
              {Replace(kIni, "[SpoolFiles64]\r\n", "[SpoolFiles64]\r\nMissing64.dll\r\n")},
              {"TQSetup.ini:52: error: x64\\spool\\Missing64.dll is not in the package: Setup ends with -34 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016 (unless the target folder has the file already)"},
              2},
    FaultCase{"ListedClimbs",
              {Replace(kIni, "[SpoolFiles64]\r\n", "[SpoolFiles64]\r\n..\\x86\\spool\\PCPCardUI32.dll\r\n")},
              {"TQSetup.ini:52: error: [SpoolFiles64] lists \"..\\x86\\spool\\PCPCardUI32.dll\", which reaches out of its folders (\"..\" or a drive): Setup refuses it"},
              2},
    FaultCase{"DriverSectionGoneNoInstall",
              {Replace(kIni, "DevInstall=1", "DevInstall=0"),
               Replace(kIni, "OS2=Driver64, x64", "OS2=Driver64bit, x64")},
              {"TQSetup.ini:17: warning: the driver section [Driver64bit] is missing: Setup installs nothing on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016"},
              1}),
    FaultCaseName);

}  // namespace
