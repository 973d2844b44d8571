#include "run_flow.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <strsafe.h>

#include "driver_install.h"
#include "handles.h"
#include "setup_codes.h"
#include "setup_config.h"
#include "setup_errors.h"
#include "setup_paths.h"
#include "windows_version.h"

namespace {

const wchar_t kConfigFileName[] = L"TQSetup.ini";

int Fail(int code, DWORD detailCode = 0)
{
    ShowSetupError(code, detailCode);
    return code;
}

bool IsSupportedLevel(OsLevel level)
{
    return level >= 4 && level != 5;
}

void ShowSuccess(const wchar_t* configPath)
{
    wchar_t products[50];
    GetPrivateProfileStringW(L"Information", L"Products", L"", products, ARRAYSIZE(products), configPath);
    wchar_t text[MAX_PATH];
    StringCchPrintfW(text, ARRAYSIZE(text), L"The %s has been successfully installed.", products);
    MessageBoxW(nullptr, text, SETUP_TITLE, MB_ICONINFORMATION);
}

// Reads the configuration and installs the driver here, in this process.
int InstallLocally(const wchar_t* configPath, const OsEntryName& entryName, const wchar_t* setupDirectory)
{
    DriverSetup setup(configPath, entryName.text, setupDirectory);
    const int read = ReadSetupConfig(setup);
    if (read != SetupSucceeded)
        return Fail(read);
    const int installed = InstallDriverPackage(setup);
    if (installed != SetupSucceeded)
        return Fail(installed, setup.detailCode);
    ShowSuccess(configPath);
    return SetupSucceeded;
}

// Starts x64\Setup64.exe with the quoted package directory and the entry
// name, waits for it and passes its exit code on.
int HandOverToSetup64(wchar_t* setupDirectory, const OsEntryName& entryName)
{
    wchar_t x64Directory[SETUP_PATH_SIZE];
    wchar_t program[SETUP_PATH_SIZE];
    wchar_t directory[SETUP_PATH_SIZE];
    wchar_t commandLine[512];
    if (!JoinPath(x64Directory, setupDirectory, L"x64") || !JoinPath(program, x64Directory, L"Setup64.exe") ||
        FAILED(StringCchCopyW(directory, ARRAYSIZE(directory), setupDirectory)) ||
        !QuoteArgument(program) || !QuoteArgument(directory) ||
        FAILED(StringCchPrintfW(commandLine, ARRAYSIZE(commandLine), L"%s %s %s", program, directory,
                                entryName.text)))
        return Fail(SetupNoSetup64);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &started))
        return Fail(SetupNoSetup64);
    KernelHandle process(started.hProcess);
    CloseHandle(started.hThread);
    WaitForInputIdle(process.Get(), INFINITE);
    WaitForSingleObject(process.Get(), INFINITE);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.Get(), &exitCode))
        return Fail(SetupNoSetup64);
    const int code = static_cast<int>(exitCode);
    // Setup64 has shown its own message for every other code.
    if (code == SetupNoSetup64)
        return Fail(SetupNoSetup64);
    return code;
}

}  // namespace

int RunSetup()
{
    OsKey osKey;
    SelectOsKey(osKey);
    InstanceMutex mutex(L"Printer Device Driver Installer");
    if (mutex.AlreadyRunning())
        return Fail(SetupAlreadyRunning);
    if (!IsSupportedLevel(IdentifyWindows()))
        return Fail(SetupUnsupportedWindows);

    // The package directory is the program path without its file name (drive
    // and directory, ending with a backslash).
    wchar_t setupDirectory[SETUP_PATH_SIZE];
    const DWORD length = GetModuleFileNameW(nullptr, setupDirectory, ARRAYSIZE(setupDirectory));
    if (length == 0 || length >= ARRAYSIZE(setupDirectory))
        return Fail(SetupNoProgramPath);
    *PathFindFileNameW(setupDirectory) = L'\0';

    wchar_t configPath[SETUP_PATH_SIZE];
    if (!JoinPath(configPath, setupDirectory, kConfigFileName) || !PathFileExistsW(configPath))
        return Fail(SetupNoConfigFile);
    if (!osKey.text[0])
        return Fail(SetupUnsupportedWindows);
    OsEntryName entryName;
    if (!FindOsEntry(configPath, osKey.text, entryName))
        return Fail(SetupNoOsEntry);

    if (SystemVersionQuestions().IsWow64())
        return HandOverToSetup64(setupDirectory, entryName);
    return InstallLocally(configPath, entryName, setupDirectory);
}

int RunSetup64()
{
    InstanceMutex mutex(L"Printer Device Driver Installer64");
    if (mutex.AlreadyRunning())
        return Fail(SetupAlreadyRunning);

    int argumentCount = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &argumentCount);
    LocalMemory argumentsMemory(arguments);
    wchar_t setupDirectory[SETUP_PATH_SIZE];
    OsEntryName entryName;
    // Arguments that are empty or too long for their buffers are refused like missing ones.
    if (!arguments || argumentCount != 3 || !arguments[1][0] || !arguments[2][0] ||
        FAILED(StringCchCopyW(setupDirectory, ARRAYSIZE(setupDirectory), arguments[1])) ||
        FAILED(StringCchCopyW(entryName.text, ARRAYSIZE(entryName.text), arguments[2]))) {
        argumentsMemory.Free();
        return Fail(SetupBadArguments);
    }
    argumentsMemory.Free();

    // A missing file shows up as a configuration error.
    wchar_t configPath[SETUP_PATH_SIZE] = {};
    JoinPath(configPath, setupDirectory, kConfigFileName);
    return InstallLocally(configPath, entryName, setupDirectory);
}
