// Two DLLs for the search path of a component's own imports: the component
// (SEARCH_PROBE_COMPONENT) imports the dependency, and its DllRegisterServer
// marks a call in this process's environment ("SearchProbeRegistered").
#include <windows.h>

#ifdef SEARCH_PROBE_COMPONENT
extern "C" __declspec(dllimport) int SearchProbeDependency();

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer()
{
    SetEnvironmentVariableW(L"SearchProbeRegistered", SearchProbeDependency() == 1 ? L"1" : L"0");
    return S_OK;
}
#else
extern "C" __declspec(dllexport) int SearchProbeDependency()
{
    return 1;
}
#endif
