#include "dll_search.h"

#include <windows.h>
#include <strsafe.h>

namespace {

// Loaded by name by the program itself, the shell, the device setup, the
// common controls, COM and the theme and compatibility layers, some of them
// in ways that ignore the restricted search (Wine's own delay-loaded imports
// among them). imm32 comes first because user32 loads it by name as it
// starts; the others come before the DLLs that use them.
const wchar_t* const kSystemDlls[] = {
    L"imm32",   L"version",  L"cryptbase", L"sspicli",  L"profapi",  L"userenv",  L"apphelp", L"dwmapi",
    L"uxtheme", L"ntmarta",  L"msimg32",   L"oleacc",   L"clbcatq",  L"propsys",  L"setupapi", L"advapi32",
    L"gdi32",   L"user32",   L"comctl32",  L"ole32",    L"oleaut32", L"shlwapi",  L"shell32",
};

typedef BOOL(WINAPI* SetDefaultDllDirectoriesFunction)(DWORD);

// Windows 7 has SetDefaultDllDirectories only with its update KB2533623.
bool SearchSystemDirectoryOnly()
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr));
    return restrict && restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void PreloadSystemDlls()
{
    wchar_t systemDir[MAX_PATH];
    const UINT length = GetSystemDirectoryW(systemDir, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    for (const wchar_t* name : kSystemDlls) {
        wchar_t path[MAX_PATH];
        if (FAILED(StringCchPrintfW(path, MAX_PATH, L"%s\\%s.dll", systemDir, name)))
            continue;
        // Kept loaded for the life of the process, so that a later load by
        // name finds this module. The altered search takes the DLL's own
        // imports from the system directory too.
        LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
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
    SetDllDirectoryW(L"");
    PreloadSystemDlls();
}
