#include "process_command_line.h"

#include <winternl.h>

namespace {

template <typename T>
bool ReadRemote(HANDLE process, const void* address, T* value)
{
    SIZE_T read = 0;
    return ReadProcessMemory(process, address, value, sizeof(T), &read) && read == sizeof(T);
}

}  // namespace

std::wstring ProcessCommandLine(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process)
        return L"";
    std::wstring line;
    PROCESS_BASIC_INFORMATION basic = {};
    PEB peb = {};
    RTL_USER_PROCESS_PARAMETERS parameters = {};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) == 0 &&
        ReadRemote(process, basic.PebBaseAddress, &peb) &&
        ReadRemote(process, peb.ProcessParameters, &parameters)) {
        line.resize(parameters.CommandLine.Length / sizeof(wchar_t));
        SIZE_T read = 0;
        if (!line.empty() &&
            !ReadProcessMemory(process, parameters.CommandLine.Buffer, &line[0], parameters.CommandLine.Length, &read))
            line.clear();
    }
    CloseHandle(process);
    return line;
}
