#include "registry_key.h"

bool RegistryKey::Open(HKEY parent, const char* subKey, REGSAM access)
{
    Close();
    isOpen = RegOpenKeyExA(parent, subKey, 0, access, &hKey) == ERROR_SUCCESS;
    return isOpen;
}

void RegistryKey::Close()
{
    if (!isOpen)
        return;
    RegCloseKey(hKey);
    isOpen = false;
}

bool RegistryKey::QueryValue(const char* name, DWORD* type, BYTE* data, DWORD* size)
{
    return isOpen && RegQueryValueExA(hKey, name, nullptr, type, data, size) == ERROR_SUCCESS;
}

bool RegistryKey::ReadString(const char* name, char* buffer, DWORD size)
{
    if (size == 0)
        return false;
    DWORD type = 0;
    DWORD length = size;
    if (!QueryValue(name, &type, reinterpret_cast<BYTE*>(buffer), &length) || type != REG_SZ)
        return false;
    // Stored strings need not carry their terminator; one that fills the whole
    // buffer without it does not fit.
    if (length > 0 && buffer[length - 1] == '\0')
        return true;
    if (length >= size)
        return false;
    buffer[length] = '\0';
    return true;
}
