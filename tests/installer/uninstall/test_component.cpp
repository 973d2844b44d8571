// A self-registering component for the uninstall tests: registration writes
// a registry value, unregistration removes it again, so a test can see which
// entry point install called.
#include <windows.h>

namespace {

const wchar_t kKey[] = L"Software\\Uninstall Test Component";
const wchar_t kValue[] = L"Registered";

}  // namespace

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer()
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return E_FAIL;
    LONG result = RegSetValueExW(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"1"), 2 * sizeof(wchar_t));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? S_OK : E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer()
{
    return RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey) == ERROR_SUCCESS ? S_OK : E_FAIL;
}
