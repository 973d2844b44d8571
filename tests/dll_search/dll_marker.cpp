// Stands in for a DLL that someone planted beside a program: whenever a
// process loads it, it appends a line to a file named after itself (such as
// "version.dll") in the folder that DLL_MARKER_DIR names. It exports nothing;
// Wine aborts a missing import only when it is called.
#include <windows.h>

namespace {

const wchar_t* LastComponent(const wchar_t* path)
{
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p) {
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    }
    return name;
}

void AppendLine(HANDLE file, const wchar_t* text)
{
    DWORD written = 0;
    WriteFile(file, text, lstrlenW(text) * sizeof(wchar_t), &written, nullptr);
    WriteFile(file, L"\r\n", 2 * sizeof(wchar_t), &written, nullptr);
}

// Which process loaded which copy: the program's path, then the marker's.
void LeaveMark(HINSTANCE instance)
{
    wchar_t module[MAX_PATH];
    wchar_t program[MAX_PATH];
    wchar_t path[2 * MAX_PATH];
    const DWORD moduleLength = GetModuleFileNameW(instance, module, MAX_PATH);
    const DWORD programLength = GetModuleFileNameW(nullptr, program, MAX_PATH);
    const DWORD dirLength = GetEnvironmentVariableW(L"DLL_MARKER_DIR", path, MAX_PATH);
    if (!moduleLength || moduleLength >= MAX_PATH || !programLength || programLength >= MAX_PATH || !dirLength ||
        dirLength >= MAX_PATH)
        return;
    lstrcatW(path, L"\\");
    lstrcatW(path, LastComponent(module));
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    AppendLine(file, program);
    AppendLine(file, module);
    CloseHandle(file);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        LeaveMark(instance);
    return TRUE;
}
