#include <windows.h>

#include "run_flow.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
#ifdef _WIN64
    return RunSetup64();
#else
    return RunSetup();
#endif
}
