#include "dll_search.h"

#include <windows.h>
#include <strsafe.h>

namespace {

// Loaded by name by the program itself, the shell, the common controls, COM
// and the theme and compatibility layers, some of them in ways that ignore
// the restricted search (Wine's own delay-loaded imports among them). imm32
// comes first because user32 loads it by name as it starts; the others come
// before the DLLs that use them.
const char* const kSystemDlls[] = {
    "imm32",   "version", "cryptbase", "sspicli",  "profapi",  "userenv", "apphelp", "dwmapi",  "uxtheme",
    "ntmarta", "msimg32", "shfolder",  "linkinfo", "ntshrui",  "cscapi",  "oleacc",  "clbcatq", "propsys",
    "setupapi", "advapi32", "gdi32",   "user32",   "comctl32", "ole32",   "oleaut32", "shlwapi", "shell32",
};

typedef BOOL(WINAPI* SetDefaultDllDirectoriesFunction)(DWORD);
typedef BOOL(WINAPI* SetDllDirectoryWFunction)(LPCWSTR);

FARPROC KernelFunction(const char* name)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? GetProcAddress(kernel, name) : nullptr;
}

// Windows Vista cannot create the shell-link object while the search is
// restricted to the system directory, so it keeps the older way.
bool RunsBeforeWindows7()
{
    const WORD version = LOWORD(GetVersion());
    const BYTE major = LOBYTE(version);
    const BYTE minor = HIBYTE(version);
    return major < 6 || (major == 6 && minor < 1);
}

bool SearchSystemDirectoryOnly()
{
    if (RunsBeforeWindows7())
        return false;
    auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(KernelFunction("SetDefaultDllDirectories")));
    return restrict && restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void PreloadSystemDlls()
{
    char systemDir[MAX_PATH];
    const UINT length = GetSystemDirectoryA(systemDir, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    for (const char* name : kSystemDlls) {
        char path[MAX_PATH];
        if (FAILED(StringCchPrintfA(path, MAX_PATH, "%s\\%s.dll", systemDir, name)))
            continue;
        // Kept loaded for the life of the process, so that a later load by
        // name finds this module. The altered search takes the DLL's own
        // imports from the system directory too. A DLL that this Windows
        // lacks is passed over.
        LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
}

}  // namespace

void RestrictDllSearch()
{
    if (SearchSystemDirectoryOnly())
        PreloadSystemDlls();
    else
        RestrictDllSearchWithoutDefaultDirectories();
}

void RestrictDllSearchWithoutDefaultDirectories()
{
    // Windows 2000 has no SetDllDirectoryW.
    auto keepCurrentDirectoryOut = reinterpret_cast<SetDllDirectoryWFunction>(
        reinterpret_cast<void*>(KernelFunction("SetDllDirectoryW")));
    if (keepCurrentDirectoryOut)
        keepCurrentDirectoryOut(L"");
    PreloadSystemDlls();
}
