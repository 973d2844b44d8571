#include "setup_errors.h"

#include <strsafe.h>

#include "setup_codes.h"

const wchar_t SETUP_TITLE[] = L"Device Driver Installer";

namespace {

const wchar_t kGeneralText[] = L"Failed to install the device driver. (-0x%02x)";

}  // namespace

const SetupError SetupErrorTable[22] = {
    {SetupUnsupportedWindows, L"Your Windows is not supported.", false},
    {SetupAlreadyRunning, L"This tool is already running.", false},
    {SetupNoProgramPath, kGeneralText, true},
    {SetupNoConfigFile, kGeneralText, true},
    {SetupNoSetup64, kGeneralText, true},
    {SetupBadArguments, kGeneralText, true},
    {SetupNoOsEntry, kGeneralText, true},
    {SetupNoDriverList, kGeneralText, true},
    {SetupNoInfName, kGeneralText, true},
    {SetupNoFileList, kGeneralText, true},
    {-21, kGeneralText, true},
    {-22, kGeneralText, true},
    {-23, kGeneralText, true},
    {-24, kGeneralText, true},
    {SetupNoGroupCount, kGeneralText, true},
    {SetupNoGroupName, kGeneralText, true},
    {SetupBadTargetKind, kGeneralText, true},
    {SetupDriverStoreFailed, kGeneralText, true},
    {SetupSystemCopyFailed, kGeneralText, true},
    {SetupSystemX86CopyFailed, kGeneralText, true},
    {SetupTargetCopyFailed, kGeneralText, true},
    {SetupSpoolerNotStopped, kGeneralText, true},
};

void FormatSetupError(int code, DWORD detailCode, wchar_t (&text)[MAX_PATH])
{
    const SetupError* found = nullptr;
    for (const SetupError& error : SetupErrorTable) {
        if (error.code == code) {
            found = &error;
            break;
        }
    }
    if (found && !found->formatted) {
        StringCchCopyW(text, ARRAYSIZE(text), found->text);
        return;
    }
    StringCchPrintfW(text, ARRAYSIZE(text), found ? found->text : kGeneralText, -code);
    if (found && detailCode != 0) {
        wchar_t detail[40];
        StringCchPrintfW(detail, ARRAYSIZE(detail), L"\r\n(Detailed: 0x%08x)", detailCode);
        StringCchCatW(text, ARRAYSIZE(text), detail);
    }
}

void ShowSetupError(int code, DWORD detailCode)
{
    wchar_t text[MAX_PATH];
    FormatSetupError(code, detailCode, text);
    MessageBoxW(nullptr, text, SETUP_TITLE, MB_ICONERROR);
}
