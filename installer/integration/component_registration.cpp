#include "component_registration.h"

#include <windows.h>
#include <ole2.h>

namespace {

// OLE for the calling thread for the length of one call; uninitialised on
// every way out, also after a failed OleInitialize.
class OleScope {
public:
    OleScope() { OleInitialize(nullptr); }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    ~OleScope() { OleUninitialize(); }
};

// Where Windows can restrict it (AddDllDirectory marks the systems that
// can), a component's own imports are searched for in its own folder and the
// system directory only; elsewhere its own folder comes first.
DWORD ComponentSearchFlags()
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel && GetProcAddress(kernel, "AddDllDirectory"))
        return LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;
    return LOAD_WITH_ALTERED_SEARCH_PATH;
}

// The loaded component, unloaded on every way out.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const char* path) : module_(LoadLibraryExA(path, nullptr, ComponentSearchFlags())) {}
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    ~LoadedLibrary()
    {
        if (IsLoaded())
            FreeLibrary(module_);
    }
    // Old loaders returned error codes below 32 instead of a null handle.
    bool IsLoaded() const { return reinterpret_cast<UINT_PTR>(module_) >= 32; }
    HMODULE Get() const { return module_; }

private:
    HMODULE module_;
};

}  // namespace

void RegisterComponent(const char* path, bool unregister)
{
    typedef HRESULT(STDAPICALLTYPE * RegistrationEntry)();
    const char* entryName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    OleScope ole;
    // A missing medium gives a failure code instead of a system dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS);
    LoadedLibrary component(path);
    if (!component.IsLoaded())
        return;
    FARPROC entry = GetProcAddress(component.Get(), entryName);
    if (entry)
        reinterpret_cast<RegistrationEntry>(reinterpret_cast<void*>(entry))();
}
