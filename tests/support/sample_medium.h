// The sample package's medium as a user gets it, and the driver setup that
// install.exe opens from the install folder once the wizard is done.
#pragma once
#include <windows.h>
#include <initializer_list>
#include <string>

#include "driver_package.h"
#include "process_tree.h"

namespace testing_support {

// The files of the sample script's [Install] entries and install.exe, as
// they stand in the install folder (beside the script's copy, install.INF).
inline const wchar_t* const kSampleInstalledFiles[] = {
    L"CardTool.exe", L"CardReg.dll", L"readme.txt", L"Setup.exe", L"TQSetup.ini", L"x64\\Setup64.exe",
    L"x86\\CardPrinter.inf", L"x86\\spool\\PCPCardUI32.dll", L"x86\\spool\\CardPrinterRes32.dll",
    L"x86\\downlevel\\CardPrinterRt32.dll", L"x64\\CardPrinter.inf", L"x64\\spool\\PCPCardUI64.dll",
    L"x64\\spool\\CardPrinterRes64.dll", L"x64\\downlevel\\CardPrinterRt64.dll", L"common\\CardPrinterTool.cfg",
    L"common\\CardPrinterReadme.txt", L"install.exe"};

// A scratch medium for one test: the sample package with Setup.exe,
// x64\Setup64.exe and the given built programs (install.exe, CardTool.exe,
// CardReg.dll) copied beside it under their own file names.
class SampleMedium {
public:
    SampleMedium(const std::wstring& setupExe, const std::wstring& setup64Exe,
                 std::initializer_list<const wchar_t*> programs);

    // False when a part of the medium could not be copied.
    bool Complete() const { return complete_; }
    const std::wstring& Dir() const { return package_.Dir(); }
    std::wstring PathOf(const std::wstring& relative) const { return package_.PathOf(relative); }

private:
    DriverPackage package_;
    bool complete_ = false;
};

// The Setup.exe that install.exe (installPid) opened after its completion
// box, once it runs; 0 when none came within timeoutMs.
DWORD WaitForOpenedSetup(DWORD installPid, DWORD timeoutMs);

// Waits for the Setup.exe that install.exe (installPid) opened, answers every
// message box of it and its Setup64.exe with OK and waits for its end.
// started is false when no Setup.exe came within timeoutMs.
AnsweredRun AnswerOpenedSetup(DWORD installPid, DWORD timeoutMs);

}  // namespace testing_support
