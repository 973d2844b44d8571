// The holder through which install opens, reads and closes registry keys:
// the key is closed when the holder goes out of scope, on every path.
#pragma once
#include <windows.h>

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { Close(); }

    // Closes the held key first; true when RegOpenKeyExA succeeded.
    bool Open(HKEY parent, const char* subKey, REGSAM access);
    void Close();

    // RegQueryValueExA on the open key; type, data and size in/out as there.
    bool QueryValue(const char* name, DWORD* type, BYTE* data, DWORD* size);

    // A value of type REG_SZ that fits into size bytes with its terminator;
    // other types count as absent. buffer may be written even on false.
    bool ReadString(const char* name, char* buffer, DWORD size);

    HKEY Handle() const { return hKey; }
    bool IsOpen() const { return isOpen; }

private:
    HKEY hKey = nullptr;
    bool isOpen = false;
};
