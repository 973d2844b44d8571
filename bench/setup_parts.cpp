// The parts of Setup64's success path on the sample package, called directly:
// SetupCopyOEMInfW of x64\CardPrinter.inf, the copies of the five file
// groups that [Depend64] of its TQSetup.ini names, and one stop and start of
// the "Spooler" service. The benchmark compares Setup64.exe with this.
//
//   setup_parts <package folder>
//
// Exit code 0 when every part succeeded, 1 otherwise.
#include <windows.h>
#include <setupapi.h>
#include <shlobj.h>
#include <stdio.h>
#include <strsafe.h>

namespace {

struct Group {
    const wchar_t* source;  // below the package folder
    int folder;             // CSIDL of the target, or -1 for the explicit one
    const wchar_t* below;   // below that folder ("" for none)
    const wchar_t* files[2];
};

const Group kGroups[] = {
    {L"common", -1, L"", {L"CardPrinterTool.cfg", L"CardPrinterReadme.txt"}},
    {L"x64\\spool", CSIDL_SYSTEM, L"", {L"PCPCardUI64.dll", L"CardPrinterRes64.dll"}},
    {L"x86\\spool", CSIDL_SYSTEMX86, L"", {L"PCPCardUI32.dll", L"CardPrinterRes32.dll"}},
    {L"x64\\downlevel", CSIDL_SYSTEM, L"\\downlevel", {L"CardPrinterRt64.dll", nullptr}},
    {L"x86\\downlevel", CSIDL_SYSTEMX86, L"\\downlevel", {L"CardPrinterRt32.dll", nullptr}},
};

bool CopyGroup(const wchar_t* package, const Group& group)
{
    wchar_t target[MAX_PATH];
    if (group.folder < 0)
        StringCchCopyW(target, MAX_PATH, L"C:\\ProgramData\\CardPrinter");
    else if (!SHGetSpecialFolderPathW(nullptr, target, group.folder, FALSE))
        return false;
    StringCchCatW(target, MAX_PATH, group.below);
    CreateDirectoryW(target, nullptr);
    bool copied = true;
    for (const wchar_t* name : group.files) {
        wchar_t from[MAX_PATH], to[MAX_PATH];
        if (!name)
            continue;
        StringCchPrintfW(from, MAX_PATH, L"%s\\%s\\%s", package, group.source, name);
        StringCchPrintfW(to, MAX_PATH, L"%s\\%s", target, name);
        copied = CopyFileW(from, to, FALSE) && copied;
    }
    return copied;
}

// Sends control (stop) or starts the spooler and waits up to 5 s for state.
bool ControlSpooler(bool start)
{
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, GENERIC_EXECUTE);
    SC_HANDLE spooler = manager ? OpenServiceW(manager, L"Spooler",
                                               SERVICE_QUERY_STATUS | (start ? SERVICE_START : SERVICE_STOP))
                                : nullptr;
    bool reached = false;
    SERVICE_STATUS status = {};
    if (spooler && (start ? StartServiceW(spooler, 0, nullptr) != FALSE
                          : ControlService(spooler, SERVICE_CONTROL_STOP, &status) != FALSE)) {
        const DWORD wanted = start ? SERVICE_RUNNING : SERVICE_STOPPED;
        for (int i = 0; i < 500 && !reached; ++i) {
            reached = QueryServiceStatus(spooler, &status) && status.dwCurrentState == wanted;
            if (!reached)
                Sleep(10);
        }
    }
    if (spooler)
        CloseServiceHandle(spooler);
    if (manager)
        CloseServiceHandle(manager);
    return reached;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        fputs("usage: setup_parts <package folder>\n", stderr);
        return 2;
    }
    wchar_t inf[MAX_PATH], stored[MAX_PATH];
    StringCchPrintfW(inf, MAX_PATH, L"%s\\x64\\CardPrinter.inf", argv[1]);
    DWORD needed = 0;
    bool succeeded = SetupCopyOEMInfW(inf, nullptr, SPOST_PATH, 0, stored, MAX_PATH, &needed, nullptr) != FALSE;
    for (const Group& group : kGroups)
        succeeded = CopyGroup(argv[1], group) && succeeded;
    succeeded = ControlSpooler(false) && succeeded;
    succeeded = ControlSpooler(true) && succeeded;
    return succeeded ? 0 : 1;
}
