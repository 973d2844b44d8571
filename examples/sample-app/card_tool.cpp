// CardTool.exe: the sample package's program. It shows where it runs from and
// the card printer component's registration state, then ends with exit code 0.
#include <windows.h>
#include <strsafe.h>

namespace {

const char kComponentKey[] = "Software\\CardPrinterSample\\Component";

bool IsComponentRegistered()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kComponentKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char value[8] = "";
    DWORD size = sizeof(value) - 1;
    DWORD type = 0;
    bool registered = RegQueryValueExA(key, "Registered", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                          ERROR_SUCCESS &&
                      type == REG_SZ && lstrcmpA(value, "1") == 0;
    RegCloseKey(key);
    return registered;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(instance, program, MAX_PATH);
    char text[1024];
    StringCchPrintfA(text, ARRAYSIZE(text), "Sample Card Printer Tool\r\n\r\n%s\r\n\r\nCard printer component: %s",
                     program, IsComponentRegistered() ? "registered" : "not registered");
    MessageBoxA(nullptr, text, "Card Tool", MB_ICONINFORMATION);
    return 0;
}
