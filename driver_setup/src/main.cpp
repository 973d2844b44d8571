#include <windows.h>

#include "dll_search.h"
#include "run_flow.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // Before anything can load a DLL by name.
    RestrictDllSearch();
#ifdef _WIN64
    return RunSetup64();
#else
    return RunSetup();
#endif
}
