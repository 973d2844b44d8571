// CardReg.dll: the card printer component. Registering it records
// HKLM\Software\CardPrinterSample\Component "Registered" = "1"; unregistering
// removes that key again (and the vendor key when it is left empty).
#include <windows.h>
#include <olectl.h>

namespace {

const char kVendorKey[] = "Software\\CardPrinterSample";
const char kComponentKey[] = "Software\\CardPrinterSample\\Component";

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kComponentKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    LONG result = RegSetValueExA(key, "Registered", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    LONG result = RegDeleteKeyA(HKEY_LOCAL_MACHINE, kComponentKey);
    // Fails while other values or keys of the vendor remain: they stay.
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kVendorKey);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
