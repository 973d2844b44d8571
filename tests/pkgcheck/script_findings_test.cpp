// pkgcheck on the sample package with one fault in its install scripts: the
// exact lines of each finding kind and the exit code. The findings are named
// by the line of the key they concern, else by its section's line (0 when the
// section or the file is missing).
#include <gtest/gtest.h>

#include "pkgcheck_run.h"

using namespace pkgcheck_testing;
using testing_support::FromCodePage;
using testing_support::ToCodePage;

namespace {

// The sample's component with the processor of its file header changed to
// 32-bit ARM.
std::string OtherProcessorDll()
{
    std::string bytes = testing_support::ReadFileBytes(CARD_REG_DLL);
    if (bytes.size() < 0x40)
        return bytes;
    const size_t header = *reinterpret_cast<const DWORD*>(&bytes[0x3c]) + 4;
    if (header + 2 <= bytes.size()) {
        bytes[header] = '\xc4';
        bytes[header + 1] = '\x01';
    }
    return bytes;
}

const wchar_t kE[] = L"installE.INF";
const wchar_t kJ[] = L"installJ.INF";
const wchar_t kC[] = L"installC.INF";

class ScriptFindings : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ScriptFindings, AreExactlyTheFaultsOwn)
{
    ExpectFindings(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ScriptFindings, ::testing::Values(
    FaultCase{"TitleMissing",
              {Replace(kE, "Title=Sample Card Printer Software\r\n", "")},
              {"installE.INF:6: error: Title is missing or empty: install stops with message 1 (\"Damaged file, or NO Information file.\")"},
              2},
    FaultCase{"TitleLong",
              {Replace(kE, "Title=Sample Card Printer Software", std::string("Title=") + std::string(100, 'T')),
               Replace(kJ, "Title=Sample Card Printer Software", std::string("Title=") + std::string(100, 'T')),
               Replace(kC, "Title=Sample Card Printer Software", std::string("Title=") + std::string(100, 'T'))},
              {"installE.INF:7: warning: Title is 100 bytes long: install reads only the first 99",
               "installJ.INF:8: warning: Title is 100 bytes long: install reads only the first 99",
               "installC.INF:8: warning: Title is 100 bytes long: install reads only the first 99"},
              1},
    FaultCase{"FolderLong",
              {Replace(kE, "Folder=Sample Card Printer\\Driver Setup", std::string("Folder=Sample Card Printer\\") + std::string(240, 'D'))},
              {"installE.INF:8: error: Folder is 260 bytes long: install reads only the first 259",
               "installE.INF:8: error: the install folder made of Folder is longer than 259 bytes: install cannot copy a file into it"},
              2},
    FaultCase{"FolderDrive",
              {Replace(kE, "Folder=Sample Card Printer\\Driver Setup", "Folder=C:\\Sample Card Printer")},
              {"installE.INF:8: error: Folder C:\\Sample Card Printer names a drive: install appends it to the program-files folder, which gives a path that cannot be made"},
              2},
    FaultCase{"FolderSlash",
              {Replace(kE, "Folder=Sample Card Printer\\Driver Setup", "Folder=Sample Card Printer/Driver Setup")},
              {"installE.INF:8: warning: Folder Sample Card Printer/Driver Setup is written with slashes: install makes it Sample Card Printer\\Driver Setup"},
              1},
    FaultCase{"InstallkeyUnderscore",
              {Replace(kE, "InstallKey=SampleCardPrinter", "InstallKey=Sample/CardPrinter"),
               Replace(kJ, "InstallKey=SampleCardPrinter", "InstallKey=Sample/CardPrinter"),
               Replace(kC, "InstallKey=SampleCardPrinter", "InstallKey=Sample/CardPrinter")},
              {"installE.INF:9: warning: InstallKey Sample/CardPrinter becomes Sample_CardPrinter: install turns slashes and backslashes into underscores",
               "installJ.INF:10: warning: InstallKey Sample/CardPrinter becomes Sample_CardPrinter: install turns slashes and backslashes into underscores",
               "installC.INF:10: warning: InstallKey Sample/CardPrinter becomes Sample_CardPrinter: install turns slashes and backslashes into underscores"},
              1},
    FaultCase{"InstallkeyEmpty",
              {Replace(kE, "InstallKey=SampleCardPrinter\r\n", ""),
               Replace(kE, "Folder=Sample Card Printer\\Driver Setup", "Folder=\\\\")},
              {"installE.INF:8: error: the uninstall key comes out empty: Folder is made of separators only and there is no InstallKey: install stops with message 1 (\"Damaged file, or NO Information file.\")"},
              2},
    // install takes the last level of a Folder that ends in a separator.
    FaultCase{"InstallkeyFromFolderWithSeparator",
              {Replace(kE, "InstallKey=SampleCardPrinter\r\n", ""),
               Replace(kE, "Folder=Sample Card Printer\\Driver Setup", "Folder=Sample Card Printer\\SampleCardPrinter\\")},
              {},
              0},
    FaultCase{"InstallkeyLong",
              {Replace(kE, "InstallKey=SampleCardPrinter", std::string("InstallKey=") + std::string(208, 'K'))},
              {"installE.INF:9: warning: the uninstall key is 208 bytes long: install cuts it to the first 207, " + std::string(207, 'K'),
               "installJ.INF:10: error: the uninstall key SampleCardPrinter differs from " + std::string(207, 'K') + " of installE.INF while the Titles are the same: an install in the second language is refused with message 2",
               "installC.INF:10: error: the uninstall key SampleCardPrinter differs from " + std::string(207, 'K') + " of installE.INF while the Titles are the same: an install in the second language is refused with message 2"},
              2},
    FaultCase{"MenuSeparator",
              {Replace(kE, "Menu=Sample Card Printer", "Menu=\\Sample Card Printer")},
              {"installE.INF:10: warning: Menu \\Sample Card Printer begins with a separator: the group goes into the Start Menu folder beside Programs, not into Programs"},
              1},
    FaultCase{"MenuAccessories",
              {Replace(kE, "Menu=Sample Card Printer", "Menu=A!Sample Card Printer")},
              {"installE.INF:10: warning: Menu A!Sample Card Printer begins with A!: only a lower-case a! puts the group into Accessories; install makes a group named A!Sample Card Printer"},
              1},
    FaultCase{"InstallGap",
              {Replace(kE, "Open=Setup.exe", "20=readme.txt, extra.txt\r\nOpen=Setup.exe")},
              {"installE.INF:29: error: [Install] entry 20 follows a gap at 19 and is never read"},
              2},
    FaultCase{"GroupGap",
              {Replace(kE, "\r\n[Reg]", "5=Read Me Again,readme.txt\r\n\r\n[Reg]")},
              {"installE.INF:36: error: [Group] entry 5 follows a gap at 4 and is never read"},
              2},
    FaultCase{"LeadingZero",
              {Replace(kE, "Open=Setup.exe", "019=readme.txt, extra.txt\r\nOpen=Setup.exe")},
              {"installE.INF:29: error: [Install] key 019 is never read: numbered keys are written without leading zeros"},
              2},
    FaultCase{"SourceMissing",
              {Remove(L"readme.txt")},
              {"installE.INF:13: error: [Install] entry 3: readme.txt is not in the package",
               "installJ.INF:14: error: [Install] entry 3: readme.txt is not in the package",
               "installC.INF:14: error: [Install] entry 3: readme.txt is not in the package"},
              2},
    FaultCase{"SystemTargetEmpty",
              {Replace(kE, "S!SampleCardPrinterRt32.dll", "S!")},
              {"installE.INF:28: error: [Install] entry 18: S! names no file in its folder: install copies onto the folder itself"},
              2},
    FaultCase{"SystemTargetClimbs",
              {Replace(kE, "S!SampleCardPrinterRt32.dll", "S!..\\SampleCardPrinterRt32.dll")},
              {"installE.INF:28: error: [Install] entry 18: S!..\\SampleCardPrinterRt32.dll leaves its folder (with \"..\", a drive or a stream) or makes too long a path: install reports that it failed in copying the file"},
              2},
    FaultCase{"UnknownPrefix",
              {Replace(kE, "W!SampleCardPrinter.cfg", "X!SampleCardPrinter.cfg")},
              {"installE.INF:27: warning: [Install] entry 17: X!SampleCardPrinter.cfg has a prefix other than S! or W!: install puts the file into the install folder under that name"},
              1},
    FaultCase{"AbsoluteTarget",
              {Replace(kE, "W!SampleCardPrinter.cfg", "C:\\SampleCardPrinter.cfg")},
              {"installE.INF:27: error: [Install] entry 17: C:\\SampleCardPrinter.cfg leaves its folder (with \"..\", a drive or a stream) or makes too long a path: install reports that it failed in copying the file"},
              2},
    FaultCase{"EmptyTarget",
              {Replace(kE, "16=common\\CardPrinterReadme.txt", "16=common\\CardPrinterReadme.txt,")},
              {"installE.INF:26: error: [Install] entry 16 has nothing after its comma: install copies onto the install folder itself",
               "installE.INF:29: error: Open starts the installed Setup.exe, but common\\CardPrinterReadme.txt is not installed beside it: it ends with -36 on Win7, Win81, Win10 (unless the target folder has the file already)",
               "installE.INF:29: error: Open starts the installed Setup.exe, but common\\CardPrinterReadme.txt is not installed beside it: it ends with -36 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016 (unless the target folder has the file already)"},
              2},
    FaultCase{"ClimbingTarget",
              {Replace(kE, "W!SampleCardPrinter.cfg", "..\\SampleCardPrinter.cfg")},
              {"installE.INF:27: error: [Install] entry 17: ..\\SampleCardPrinter.cfg leaves its folder (with \"..\", a drive or a stream) or makes too long a path: install reports that it failed in copying the file"},
              2},
    // A ".." that stays in the install folder, and a rooted target, which
    // install appends to the install folder, are taken as they resolve.
    FaultCase{"TargetsThatStayInside",
              {Replace(kE, "W!SampleCardPrinter.cfg", "common\\..\\SampleCardPrinter.cfg"),
               Replace(kE, "16=common\\CardPrinterReadme.txt", "16=common\\CardPrinterReadme.txt, \\common\\CardPrinterReadme.txt")},
              {},
              0},
    FaultCase{"MainProgramNotFirst",
              {Replace(kE, "1=CardTool.exe\r\n2=CardReg.dll\r\n3=readme.txt", "1=readme.txt\r\n2=CardReg.dll\r\n3=CardTool.exe")},
              {"installE.INF:11: warning: [Install] entry 1 is no program in the install folder: entry 1 is the target of the title, desktop and Startup shortcuts, and the uninstall stops when it cannot remove it; list the main program first"},
              1},
    FaultCase{"GroupTargetMissing",
              {Replace(kE, "1=Card Tool,CardTool.exe", "1=Card Tool,CardTools.exe")},
              {"installE.INF:33: error: [Group] entry 1: the target CardTools.exe is not installed"},
              2},
    FaultCase{"GroupTargetBlank",
              {Replace(kE, "3=Uninstall Sample Card Printer Software,install.exe,/r", "3=Uninstall Sample Card Printer Software, install.exe,/r")},
              {"installE.INF:35: warning: [Group] entry 3: the target \" install.exe\" begins with a blank, which install keeps after the install folder",
               "installE.INF:35: error: [Group] entry 3: the target  install.exe is not installed",
               "installE.INF:32: warning: no [Group] entry runs install.exe with /r: the program menu gets no uninstall item"},
              2},
    FaultCase{"GroupWorkdir",
              {Replace(kE, "CardTool.exe?common?0", "CardTool.exe?data?0")},
              {"installE.INF:33: warning: [Group] entry 1: the working directory data is not installed: the shortcut starts in the install folder"},
              1},
    FaultCase{"GroupIcon",
              {Replace(kE, "CardTool.exe?common?0", "CardTool.exe?common?0=icons\\tool.ico")},
              {"installE.INF:33: warning: [Group] entry 1: the icon file icons\\tool.ico is not installed: the shortcut gets no icon from it"},
              1},
    FaultCase{"GroupName",
              {Replace(kE, "1=Card Tool,", "1=Card: Tool,")},
              {"installE.INF:33: error: [Group] entry 1: the shortcut name \"Card: Tool\" cannot be a file name: install makes no shortcut of it, without a message"},
              2},
    FaultCase{"NoUninstallItem",
              {Replace(kE, "3=Uninstall Sample Card Printer Software,install.exe,/r\r\n", "")},
              {"installE.INF:32: warning: no [Group] entry runs install.exe with /r: the program menu gets no uninstall item"},
              1},
    FaultCase{"OpenMissing",
              {Replace(kE, "Open=Setup.exe", "Open=Tool.exe")},
              {"installE.INF:29: error: Open names Tool.exe, which is not installed: nothing is opened after the install"},
              2},
    // install looks a name without an extension up with the program extensions.
    FaultCase{"OpenWithoutExtension",
              {Replace(kE, "Open=Setup.exe", "Open=Setup"), Replace(kE, "6=x64\\Setup64.exe", "6=readme.txt")},
              {"installE.INF:29: error: Open starts the installed Setup.exe, but x64\\Setup64.exe is not installed beside it: it ends with -5 on 64-bit Windows (Win764, 2008R2, Win8164, 2012R2, Win1064, 2016)"},
              2},
    FaultCase{"InstalledSetup64Missing",
              {Replace(kE, "6=x64\\Setup64.exe", "6=readme.txt")},
              {"installE.INF:29: error: Open starts the installed Setup.exe, but x64\\Setup64.exe is not installed beside it: it ends with -5 on 64-bit Windows (Win764, 2008R2, Win8164, 2012R2, Win1064, 2016)"},
              2},
    FaultCase{"InstalledDriverFileMissing",
              {Replace(kE, "12=x64\\spool\\PCPCardUI64.dll", "12=readme.txt")},
              {"installE.INF:29: error: Open starts the installed Setup.exe, but x64\\spool\\PCPCardUI64.dll is not installed beside it: it ends with -34 on Win764, 2008R2, Win8164, 2012R2, Win1064, 2016 (unless the target folder has the file already)"},
              2},
    FaultCase{"RegfilesMissing",
              {Replace(kE, "RegFiles0=CardReg.dll", "RegFiles0=CardRegs.dll")},
              {"installE.INF:30: error: RegFiles0 names CardRegs.dll, which is not installed: it is never registered"},
              2},
    FaultCase{"RegfilesNoExports",
              {Replace(kE, "RegFiles0=CardReg.dll", "RegFiles0=CardTool.exe")},
              {"installE.INF:30: error: RegFiles0 names CardTool.exe, which does not export DllRegisterServer",
               "installE.INF:30: error: RegFiles0 names CardTool.exe, which does not export DllUnregisterServer"},
              2},
    FaultCase{"RegfilesNotImage",
              {Replace(kE, "RegFiles0=CardReg.dll", "RegFiles0=readme.txt")},
              {"installE.INF:30: error: RegFiles0 names readme.txt, which is no Windows DLL"},
              2},
    FaultCase{"RegfilesOtherProcessor",
              {Write(L"CardRegArm.dll", OtherProcessorDll()),
               Replace(kE, "RegFiles0=CardReg.dll", "RegFiles0=CardRegArm.dll"),
               Replace(kE, "Open=Setup.exe", "19=CardRegArm.dll\r\nOpen=Setup.exe")},
              {"installE.INF:31: error: RegFiles0 names CardRegArm.dll, a DLL that the 32-bit install.exe cannot load (machine 0x01C4): it is never registered, without a message"},
              2},
    FaultCase{"RegfilesGap",
              {Replace(kE, "RegFiles0=CardReg.dll", "RegFiles0=CardReg.dll\r\nRegFiles2=CardReg.dll")},
              {"installE.INF:31: error: [Install] entry RegFiles2 follows a gap at RegFiles1 and is never read"},
              2},
    FaultCase{"RegRoot",
              {Replace(kE, "1=HKEY_CURRENT_USER\\Software\\Sample", "1=hkey_current_user\\Software\\Sample")},
              {"installE.INF:38: error: [Reg] entry 1 does not begin with HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT (in capitals) and a separator: the uninstall shows message 27 (\"Found abnormal Reg section.\") and skips it"},
              2},
    FaultCase{"RegRootOnly",
              {Replace(kE, "1=HKEY_CURRENT_USER\\Software\\Sample Card Printer", "1=HKEY_LOCAL_MACHINE\\")},
              {"installE.INF:38: error: [Reg] entry 1 names no key below HKEY_LOCAL_MACHINE: the uninstall refuses it with message 27 (\"Found abnormal Reg section.\")"},
              2},
    FaultCase{"RegShared",
              {Replace(kE, "1=HKEY_CURRENT_USER\\Software\\Sample Card Printer", "1=HKEY_CURRENT_USER\\Software\\Sample Card Printer\r\n2=HKEY_CURRENT_USER\\Software\r\n3=HKEY_LOCAL_MACHINE\\SYSTEM\r\n4=HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\r\n5=HKEY_CURRENT_USER\\software\\microsoft\\windows\\currentversion\\run\\\r\n6=HKEY_CLASSES_ROOT\\CLSID\r\n7=HKEY_CLASSES_ROOT\\*\r\n8=HKEY_LOCAL_MACHINE\\Software\\Classes\\Interface\r\n9=HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows\r\n10=HKEY_CLASSES_ROOT\\SampleCardPrinter.Document\r\n11=HKEY_CLASSES_ROOT\\CLSID\\{12345678-1234-1234-1234-123456789ABC}\r\n12=HKEY_LOCAL_MACHINE\\Software\\Policies\r\n13=HKEY_CLASSES_ROOT\\Directory\\shell\r\n14=HKEY_LOCAL_MACHINE\\Software\\Sample Card Printer\r\n15=HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\r\n16=HKEY_CLASSES_ROOT\\.card")},
              {"installE.INF:39: error: [Reg] entry 2 names HKEY_CURRENT_USER\\Software, which is no key of the package's own (below Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the uninstall refuses it with message 27",
               "installE.INF:40: error: [Reg] entry 3 names HKEY_LOCAL_MACHINE\\SYSTEM, which is no key of the package's own (below Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the uninstall refuses it with message 27",
               "installE.INF:41: error: [Reg] entry 4 names HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall, which is no key of the package's own (below Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the uninstall refuses it with message 27",
               "installE.INF:42: error: [Reg] entry 5 names HKEY_CURRENT_USER\\software\\microsoft\\windows\\currentversion\\run, which is no key of the package's own (below Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the uninstall refuses it with message 27",
               "installE.INF:43: error: [Reg] entry 6 names HKEY_CLASSES_ROOT\\CLSID, which is no key of the package's own (below Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the uninstall refuses it with message 27",
               "installE.INF:44: error: [Reg] entry 7 names HKEY_CLASSES_ROOT\\*, which is no key of the package's own (below Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the uninstall refuses it with message 27",
               "installE.INF:45: error: [Reg] entry 8 names HKEY_LOCAL_MACHINE\\Software\\Classes\\Interface, which is no key of the package's own (below Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the uninstall refuses it with message 27",
               "installE.INF:46: error: [Reg] entry 9 names HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows, which is no key of the package's own (below Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the uninstall refuses it with message 27",
               "installE.INF:49: error: [Reg] entry 12 names HKEY_LOCAL_MACHINE\\Software\\Policies, which is no key of the package's own (below Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the uninstall refuses it with message 27",
               "installE.INF:50: error: [Reg] entry 13 names HKEY_CLASSES_ROOT\\Directory\\shell, which is no key of the package's own (below Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the uninstall refuses it with message 27",
               "installE.INF:52: error: [Reg] entry 15 names HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001, which is no key of the package's own (below Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the uninstall refuses it with message 27",
               "installE.INF:53: error: [Reg] entry 16 names HKEY_CLASSES_ROOT\\.card, which is no key of the package's own (below Software\\<vendor>, or a CLSID, TypeLib, AppID or Interface GUID or a ProgID of its own): the uninstall refuses it with message 27"},
              2},
    FaultCase{"RegRunOn",
              {Replace(kE, "1=HKEY_CURRENT_USER\\Software\\Sample", "1=HKEY_CURRENT_USERxSoftware\\Sample")},
              {"installE.INF:38: error: [Reg] entry 1 does not begin with HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT (in capitals) and a separator: the uninstall shows message 27 (\"Found abnormal Reg section.\") and skips it"},
              2},
    FaultCase{"CopyallOver",
              {Replace(kE, "Open=Setup.exe", "CopyAll=1\r\nOpen=Setup.exe"),
               AddFiles(L"data", 990)},
              {"installE.INF:29: error: CopyAll=1, but the medium holds 1010 files, over 1000: install copies none of them"},
              2},
    FaultCase{"CopyallUnder",
              {Replace(kE, "Open=Setup.exe", "CopyAll=1\r\nOpen=Setup.exe"),
               AddFiles(L"data", 900)},
              {},
              0}),
    FaultCaseName);

// Text that does not survive the script's code page, whatever the code page
// of the checking process (also run under code page 932).
class TextFindings : public ::testing::TestWithParam<FaultCase> {};

TEST_P(TextFindings, AreExactlyTheFaultsOwn)
{
    ExpectFindings(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Kinds, TextFindings, ::testing::Values(
    FaultCase{"Utf8Bom",
              {Replace(kE, "; Install script", "\xef\xbb\xbf; Install script")},
              {"installE.INF:1: error: the file begins with a UTF-8 byte-order mark: install reads it as code page 1252 text, so save it in code page 1252 without the mark"},
              2},
    FaultCase{"JapaneseUtf8",
              {Write(kJ, ToCodePage(FromCodePage(SampleFile(kJ), 932), CP_UTF8))},
              {"installJ.INF:9: error: the file is saved as UTF-8: install reads it as code page 932 text, so save it in code page 932"},
              2},
    FaultCase{"EnglishNotAscii",
              {Replace(kE, "Menu=Sample Card Printer", "Menu=Sample Card Printer \xa9")},
              {"installE.INF:10: warning: this line is not plain ASCII: installE.INF is read on other user interfaces too (on every one without a script of its own), in their code page, where these bytes are other characters"},
              1},
    FaultCase{"Invalid932",
              {Replace(kJ, "; code page 932)", "; code page 932) \x81\r\n;")},
              {"installJ.INF:2: error: this line is not valid code page 932 text: install reads other characters"},
              2}),
    FaultCaseName);

// Which scripts install reads on which language, and what they must share.
class LanguageFindings : public ::testing::TestWithParam<FaultCase> {};

TEST_P(LanguageFindings, AreExactlyTheFaultsOwn)
{
    ExpectFindings(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Kinds, LanguageFindings, ::testing::Values(
    FaultCase{"KeysDiffer",
              {Replace(kC, "Title=Sample Card Printer Software", "Title=Sample Card Printer Software C"),
               Replace(kC, "InstallKey=SampleCardPrinter", "InstallKey=SampleCardPrinterC")},
              {"installC.INF:10: warning: the uninstall key SampleCardPrinterC differs from SampleCardPrinter of installE.INF: each language registers an entry of its own, so the package can be installed twice"},
              1},
    FaultCase{"KeysDifferSameTitle",
              {Write(kC, SampleFile(kE)),
               Replace(kC, "InstallKey=SampleCardPrinter", "InstallKey=SampleCardPrinterC")},
              {"installC.INF:9: error: the uninstall key SampleCardPrinterC differs from SampleCardPrinter of installE.INF while the Titles are the same: an install in the second language is refused with message 2"},
              2},
    FaultCase{"TitlesDiffer",
              {Replace(kJ, "Title=Sample Card Printer Software", "Title=Sample Card Printer Software J")},
              {"installJ.INF:8: error: the Title Sample Card Printer Software J differs from Sample Card Printer Software of installE.INF under the same uninstall key SampleCardPrinter: after an install in one language, install in the other stops with message 2 (\"The uninstall entry already used by 'Sample Card Printer Software'. Please uninstall it.\")"},
              2},
    FaultCase{"PlainScriptHides",
              {Write(L"install.INF", SampleFile(kE))},
              {"installE.INF:0: warning: never read: install.INF beside it is read on every language",
               "installJ.INF:0: warning: never read: install.INF beside it is read on every language",
               "installC.INF:0: warning: never read: install.INF beside it is read on every language"},
              1},
    FaultCase{"NoEnglishScript",
              {Remove(kE)},
              {"installE.INF:0: warning: missing: on a user interface without a script of its own, install falls back to installE.INF and stops with message 1"},
              1},
    FaultCase{"NoScript",
              {Remove(kE),
               Remove(kJ),
               Remove(kC)},
              {"install.INF:0: error: the package has no install script (install.INF, or installE.INF, installJ.INF, installC.INF): install stops with message 1"},
              2}),
    FaultCaseName);

}  // namespace
