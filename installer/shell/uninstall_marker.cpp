#include "uninstall_marker.h"

#include <windows.h>
#include <strsafe.h>

#include "globals.h"

namespace {

// Names the system keeps for devices in every folder, whatever extension
// follows them.
const char* const kDeviceNames[] = {
    "CON",  "PRN",  "AUX",  "NUL",  "CONIN$", "CONOUT$", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6",
    "COM7", "COM8", "COM9", "LPT1", "LPT2",   "LPT3",    "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9",
};

bool IsSingleByte(const char* p)
{
    return CharNextA(p) == p + 1;
}

// Control and wildcard characters, separators, and ":" (a stream name).
bool IsUnsafeCharacter(char c)
{
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F)
        return true;
    for (const char* unsafe = "\"*/:<>?\\|"; *unsafe; ++unsafe) {
        if (c == *unsafe)
            return true;
    }
    return false;
}

bool IsDotOrBlank(char c)
{
    return c == '.' || c == ' ';
}

// Replaces unsafe characters and a trailing run of dots and blanks, which
// the system would drop, by "_". The trail byte of a double-byte character
// is part of that character and never replaced.
void ReplaceUnsafeCharacters(char* name)
{
    char* keptEnd = name;
    for (char* p = name; *p; p = CharNextA(p)) {
        const bool single = IsSingleByte(p);
        if (single && IsUnsafeCharacter(*p))
            *p = '_';
        if (!single || !IsDotOrBlank(*p))
            keptEnd = CharNextA(p);
    }
    for (char* p = keptEnd; *p; ++p)
        *p = '_';
}

// The part before the first dot, without trailing blanks, names a device.
bool IsDeviceName(const char* name)
{
    char base[16];
    lstrcpynA(base, name, sizeof base);
    char* end = base;
    while (*end && *end != '.')
        ++end;
    while (end > base && end[-1] == ' ')
        --end;
    *end = '\0';
    for (const char* device : kDeviceNames) {
        if (lstrcmpiA(base, device) == 0)
            return true;
    }
    return false;
}

}  // namespace

bool FormatMarkerPath(char* path)
{
    char systemDir[kPathSize];
    UINT length = GetSystemDirectoryA(systemDir, kPathSize);
    if (length == 0 || length >= kPathSize)
        return false;
    char name[kPathSize];
    lstrcpynA(name, g_installKey, kPathSize);
    ReplaceUnsafeCharacters(name);
    return SUCCEEDED(
        StringCchPrintfA(path, kPathSize, "%s\\%s%s.tmp", systemDir, IsDeviceName(name) ? "_" : "", name));
}
