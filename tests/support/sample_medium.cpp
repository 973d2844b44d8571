#include "sample_medium.h"

namespace testing_support {

// The driver setup is started after the completion box and may outlive its
// opener, so the tree is searched while it grows.
DWORD WaitForOpenedSetup(DWORD installPid, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50)) {
        for (DWORD pid : ProcessTree(installPid)) {
            if (lstrcmpiW(ProcessImageName(pid).c_str(), L"Setup.exe") == 0)
                return pid;
        }
    }
    return 0;
}

SampleMedium::SampleMedium(const std::wstring& setupExe, const std::wstring& setup64Exe,
                           std::initializer_list<const wchar_t*> programs)
    : package_(setupExe, setup64Exe, L"medium")
{
    complete_ = package_.Complete();
    for (const wchar_t* program : programs) {
        const std::wstring path = program;
        const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
        complete_ = complete_ && CopyFileW(program, PathOf(name).c_str(), FALSE);
    }
}

AnsweredRun AnswerOpenedSetup(DWORD installPid, DWORD timeoutMs)
{
    AnsweredRun run;
    const DWORD pid = WaitForOpenedSetup(installPid, timeoutMs);
    HANDLE setup = pid ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid) : nullptr;
    if (!setup)
        return run;
    run.started = true;
    AnswerBoxesUntilExit(setup, pid, timeoutMs, &run);
    CloseHandle(setup);
    return run;
}

}  // namespace testing_support
